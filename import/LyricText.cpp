#include "import/LyricText.h"

#include <algorithm>
#include <array>
#include <utility>

#include "store/Cp1251.h"

namespace {

const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

bool HoldsNonAscii(QByteArrayView bytes) {
    for (const char c : bytes)
        if (uchar(c) >= 0x80) return true;
    return false;
}

// Stops at the first byte that cannot be UTF-8, which in Windows-1251 text comes early.
bool IsValidUtf8(QByteArrayView bytes) {
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const uchar lead = uchar(bytes[i]);
        int follow = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            follow = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            follow = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            follow = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= follow; ++k) {
            if (i + k >= n) return false;
            const uchar c = uchar(bytes[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            code = code << 6 | (c & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[follow] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += follow + 1;
    }
    return true;
}

// The Windows-1251 byte of every character the code page holds; 0 for the others (NUL itself
// never reaches a line).
const std::array<uchar, 0x10000>& EncodingTable() {
    static const std::array<uchar, 0x10000> table = [] {
        std::array<uchar, 0x10000> t{};
        for (int b = 1; b < 256; ++b) {
            const char byte = char(b);
            t[cp1251::decode(QByteArrayView(&byte, 1)).front().unicode()] = uchar(b);
        }
        return t;
    }();
    return table;
}

}  // namespace

void CatalogueLineBuilder::appendUnit(char16_t unit) {
    if (unit < 0x80 && highSurrogate_ == 0) {
        appendByte(char(unit));
        return;
    }
    if (QChar::isLowSurrogate(unit) && highSurrogate_ != 0) {
        const QChar pair[] = {QChar(highSurrogate_), QChar(unit)};
        highSurrogate_ = 0;
        unencodable(QString(pair, 2));
        return;
    }
    flushSurrogate();
    if (QChar::isHighSurrogate(unit)) {
        highSurrogate_ = unit;
        return;
    }
    const uchar b = EncodingTable()[unit];
    if (b != 0 || unit == 0)
        appendByte(char(b));
    else
        unencodable(QString(QChar(unit)));
}

// A high surrogate without its partner is a character of its own that no code page holds.
void CatalogueLineBuilder::flushSurrogate() {
    if (highSurrogate_ == 0) return;
    const QChar lone(highSurrogate_);
    highSurrogate_ = 0;
    unencodable(QString(lone));
}

// A lone surrogate is reported as U+FFFD, as cp1251::encode does: the list stays valid text.
void CatalogueLineBuilder::unencodable(const QString& character) {
    appendByte('?');
    const QString reported = character.size() == 1 && character[0].isSurrogate()
                                 ? QString(QChar(QChar::ReplacementCharacter))
                                 : character;
    if (!unencodable_.contains(reported)) unencodable_.append(reported);
}

void CatalogueLineBuilder::grow(qsizetype bytes) {
    buffer_.resize(std::max({buffer_.size() * 2, size_ + bytes, qsizetype(256)}));
}

void CatalogueLineBuilder::endLine() {
    char* const end = beginRun(2);
    end[0] = '\r';
    end[1] = '\n';
    endRun(end + 2);
    lineStart_ = size_;
}

CatalogueText CatalogueLineBuilder::finish() {
    buffer_.truncate(lineStart_);
    size_ = lineStart_;
    return {std::exchange(buffer_, QByteArray()), unencodable_};
}

CatalogueText CatalogueLine(QStringView line) {
    CatalogueLineBuilder builder;
    for (const QChar c : line) builder.appendUnit(c.unicode());
    builder.endLine();
    return builder.finish();
}

bool LooksLikeUtf8(QByteArrayView bytes) {
    if (bytes.startsWith(kUtf8Bom)) return true;
    return HoldsNonAscii(bytes) && IsValidUtf8(bytes);
}

CatalogueText PlainLyricText(const QByteArray& bytes) {
    if (!LooksLikeUtf8(bytes)) return {RecordLines(bytes).joined(), QString()};
    // Line ends and Ctrl-Z are the same bytes in UTF-8, so the lines are split first.
    const QByteArray body = bytes.startsWith(kUtf8Bom) ? bytes.mid(kUtf8Bom.size()) : bytes;
    CatalogueLineBuilder builder;
    for (const QByteArrayView line : RecordLines(body)) {
        for (const QChar c : QString::fromUtf8(line)) builder.appendUnit(c.unicode());
        builder.endLine();
    }
    return builder.finish();
}
