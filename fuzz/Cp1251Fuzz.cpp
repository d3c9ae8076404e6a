// The Windows-1251 conversion: every byte sequence comes back unchanged through decode and
// encode, and Unicode text the code page cannot hold is reported, character by character,
// never stored as '?'.
#include "fuzz/FuzzTargets.h"

#include <QSet>

#include "import/LyricText.h"
#include "store/Cp1251.h"

namespace {

// The characters of the code page, taken from decode, byte by byte.
const QSet<QString>& CodePageCharacters() {
    static const QSet<QString> characters = [] {
        QSet<QString> set;
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            set.insert(cp1251::decode(QByteArrayView(&byte, 1)));
        }
        return set;
    }();
    return characters;
}

QString Utf16Of(const uint8_t* data, size_t size) {
    QString text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.append(QChar(char16_t(data[i] | data[i + 1] << 8)));
    return text;
}

QString ExpectedDescription(const QStringList& characters) {
    QStringList parts;
    for (const QString& c : characters) {
        const char32_t code = c.size() == 2 ? QChar::surrogateToUcs4(c[0], c[1]) : c[0].unicode();
        parts << c + QStringLiteral(" (U+") +
                     QString::number(uint(code), 16).toUpper().rightJustified(4, u'0') + u')';
    }
    return parts.join(QStringLiteral(", "));
}

void CheckBytesRoundTrip(const QByteArray& bytes) {
    const QString text = cp1251::decode(bytes);
    FUZZ_CHECK(text.size() == bytes.size());
    const cp1251::Encoded encoded = cp1251::encode(text);
    FUZZ_CHECK(encoded.ok());
    FUZZ_CHECK(encoded.bytes == bytes);
}

void CheckEncoding(const QString& text) {
    const QSet<QString>& codePage = CodePageCharacters();
    QStringList unencodable;
    for (const QString& c : CharactersOf(text)) {
        // Broken text (a lone surrogate) is reported as the replacement character.
        const QString reported =
            c.size() == 1 && c[0].isSurrogate() ? QString(QChar(QChar::ReplacementCharacter)) : c;
        if (!codePage.contains(c) && !unencodable.contains(reported)) unencodable.append(reported);
    }

    const cp1251::Encoded encoded = cp1251::encode(text);
    FUZZ_CHECK(encoded.ok() == unencodable.isEmpty());
    FUZZ_CHECK(CharactersOf(encoded.unencodable) == unencodable);
    FUZZ_CHECK(encoded.bytes.count('?') == text.count(u'?'));
    if (encoded.ok()) FUZZ_CHECK(cp1251::decode(encoded.bytes) == text);
    FUZZ_CHECK(cp1251::describeCharacters(encoded.unencodable) == ExpectedDescription(unencodable));

    // The lyric importer's own encoder marks what it cannot hold with '?' and reports the same.
    // It encodes characters only: keeping line ends and Ctrl-Z out of a line is its callers'
    // work, so the line is compared as written, not read back.
    const CatalogueText lyric = CatalogueLine(text);
    QByteArray marked;
    for (const QString& c : CharactersOf(text))
        marked += codePage.contains(c) ? cp1251::encode(c).bytes : QByteArray("?");
    FUZZ_CHECK(lyric.written == marked + "\r\n");
    FUZZ_CHECK(CharactersOf(lyric.unencodable) == unencodable);
}

}  // namespace

int FuzzCp1251(const uint8_t* data, size_t size) {
    CheckBytesRoundTrip(FuzzBytes(data, size));
    CheckEncoding(Utf16Of(data, size));
    return 0;
}
