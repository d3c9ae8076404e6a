#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

// Windows code pages as RTF documents name them, to Unicode.

constexpr int kDocumentCodePage = 0;  // a font that writes in the document's own code page
constexpr int kSymbolCodePage = 42;   // Windows' number for symbol fonts

// The code page of a font's \fcharset. The ANSI and default character sets mean the code
// page the document declares with \ansicpg: Russian word processors write Cyrillic in such
// fonts, and for a Western document the two agree anyway.
int CharsetCodePage(int charset);

// The catalogue's own code page needs no conversion library; the others go through iconv,
// whose descriptors are opened once per decoder (one per document). A byte sequence the code
// page does not define becomes U+FFFD, one per byte; a code page iconv does not know is read
// as the catalogue's own.
class CodePageDecoder {
  public:
    CodePageDecoder() = default;
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;
    ~CodePageDecoder();

    QString decode(int codePage, QByteArrayView bytes);

  private:
    using Descriptor = void*;  // iconv_t, kept out of the header
    Descriptor descriptor(int codePage);
    QHash<int, Descriptor> open_;
};
