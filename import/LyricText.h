#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <string>

#include "store/RecordFile.h"

// Text of a lyric file made ready for the catalogue: lines of Windows-1251 bytes. A character
// the code page cannot hold stands as "?" in its line and is listed in `unencodable`, so the
// caller can tell the user; nothing is dropped without a word.
struct CatalogueText {
    Lines lines;
    QString unencodable;  // each distinct character once, in order of first appearance
};

// Builds the lines of a CatalogueText one UTF-16 unit or one Windows-1251 byte at a time,
// without a detour through QString: the scanner converts thousands of files at once.
class CatalogueLineBuilder {
  public:
    explicit CatalogueLineBuilder(CatalogueText& text) : text_(text) {}
    // A byte that already is Windows-1251.
    void appendByte(char b) {
        if (highSurrogate_ != 0) flushSurrogate();
        line_.push_back(b);
    }
    void appendUnit(char16_t unit);
    // Ends the current line, empty or not.
    void endLine();
    bool lineIsEmpty() const { return line_.empty() && highSurrogate_ == 0; }

  private:
    void flushSurrogate();
    void unencodable(const QString& character);

    CatalogueText& text_;
    std::string line_;
    char16_t highSurrogate_ = 0;
};

// Appends one line of Unicode text, encoded for the catalogue.
void AppendCatalogueLine(CatalogueText& text, QStringView line);

// A plain lyric file, split by the line reading rules of the catalogue. A file in UTF-8 (with
// its byte-order mark, or valid UTF-8 holding multi-byte sequences) is converted; any other
// file is taken byte for byte, as lyric files written on Windows are already in the catalogue's
// code page.
CatalogueText PlainLyricText(const QByteArray& bytes);

// True when the bytes are UTF-8 by the rule above.
bool LooksLikeUtf8(QByteArrayView bytes);
