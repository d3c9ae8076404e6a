#include "store/Cp1251.h"

#include <iconv.h>
#include <QHash>
#include <array>

namespace cp1251 {
namespace {

// Windows-1251 is a single-byte code page: iconv is asked once for the character of every
// byte, and the two tables derived from its answers serve every later conversion.
struct Tables {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

    Tables() {
        iconv_t cd = iconv_open("UTF-16LE", "CP1251");
        for (int b = 0; b < 256; ++b) {
            char in = char(b);
            unsigned char out[4] = {};
            char* inPtr = &in;
            char* outPtr = reinterpret_cast<char*>(out);
            size_t inLeft = 1;
            size_t outLeft = sizeof out;
            const bool converted = cd != iconv_t(-1) &&
                                   iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1) &&
                                   outLeft == 2;
            // A byte the code page leaves undefined keeps its value as a C1 code point.
            toUnicode[b] = converted ? char16_t(out[0] | (out[1] << 8)) : char16_t(b);
            if (cd != iconv_t(-1)) iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        if (cd != iconv_t(-1)) iconv_close(cd);
        for (int b = 255; b >= 0; --b) fromUnicode.insert(toUnicode[b], char(b));
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

}  // namespace

QString decode(QByteArrayView bytes) {
    const Tables& t = tables();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) out[i] = QChar(t.toUnicode[uchar(bytes[i])]);
    return text;
}

Encoded encode(QStringView text) {
    const Tables& t = tables();
    Encoded result;
    result.bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80) {
            result.bytes.append(char(c.unicode()));
            continue;
        }
        const auto it = t.fromUnicode.constFind(c.unicode());
        if (it != t.fromUnicode.constEnd()) {
            result.bytes.append(it.value());
            continue;
        }
        // A character outside the code page; a surrogate pair is one character. A lone
        // surrogate is broken text that no font shows: it is reported as the replacement
        // character, which keeps the list valid text, so that every character in it is found
        // whole (a lone one next to another would read as a pair).
        QString ch(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ch.append(text[++i]);
        else if (c.isSurrogate())
            ch = QChar(QChar::ReplacementCharacter);
        if (!result.unencodable.contains(ch)) result.unencodable.append(ch);
    }
    return result;
}

QString describeCharacters(const QString& characters) {
    QStringList parts;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        QString ch(characters[i]);
        char32_t code = characters[i].unicode();
        if (characters[i].isHighSurrogate() && i + 1 < characters.size() &&
            characters[i + 1].isLowSurrogate()) {
            ch.append(characters[i + 1]);
            code = QChar::surrogateToUcs4(characters[i], characters[i + 1]);
            ++i;
        }
        parts << QStringLiteral("%1 (U+%2)")
                     .arg(ch, QString::number(uint(code), 16).toUpper().rightJustified(4, u'0'));
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace cp1251
