#include "import/LyricText.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <utility>

#include "import/LyricEncoding.h"
#include "store/Cp1251.h"

namespace {

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

// Songs of other programs are mostly characters the code page holds: those are copied in one
// tight loop, and only the others (surrogates, characters it lacks) take appendUnit. The table
// gives each ASCII character itself, so ASCII takes the same lookup: a test for it first was
// mispredicted at nearly every space and comma between Cyrillic words.
void CatalogueLineBuilder::appendText(QStringView text) {
    const std::array<uchar, 0x10000>& table = EncodingTable();
    const char16_t* unit = text.utf16();
    const char16_t* const end = unit + text.size();
    while (unit < end) {
        if (highSurrogate_ != 0) {
            appendUnit(*unit++);
            continue;
        }
        char* out = room(end - unit);  // a unit gives at most one byte
        for (; unit < end; ++unit) {
            const uchar b = table[*unit];
            if (b == 0) break;
            *out++ = char(b);
        }
        size_ = out - buffer_.constData();
        if (unit < end) appendUnit(*unit++);
    }
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

// The first room is enough for a song of usual length (1 to 3 KB), which so takes one
// allocation instead of growing through 256, 512, 1024… bytes, copying itself each time.
constexpr qsizetype kFirstRoom = 4096;

void CatalogueLineBuilder::grow(qsizetype bytes) {
    buffer_.resize(std::max({buffer_.size() * 2, size_ + bytes, kFirstRoom}));
}

void CatalogueLineBuilder::endLine() {
    char* const end = beginRun(2);
    end[0] = '\r';
    end[1] = '\n';
    endRun(end + 2);
    lineStart_ = size_;
}

namespace {

// Whether a text holds a character below U+0020, which line ends and Ctrl-Z are. The loop has
// no early exit so that the compiler makes it a few vector instructions: a line hardly ever
// holds such a character, and looking for each of the three, one character at a time, took
// as long as encoding the line.
bool HoldsControlCharacter(QStringView text) {
    const char16_t* const units = text.utf16();
    unsigned below = 0;
    for (qsizetype i = 0; i < text.size(); ++i) below |= units[i] < 0x20;
    return below != 0;
}

// Where a line of a song ends early for the catalogue's line reading; -1 when it does not.
qsizetype LineBreakIn(QStringView text) {
    if (!HoldsControlCharacter(text)) return -1;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'\n' || text[i] == u'\r' || text[i] == QChar(0x1a)) return i;
    return -1;
}

}  // namespace

void CatalogueLineBuilder::appendLine(QStringView line) {
    for (qsizetype at; (at = LineBreakIn(line)) >= 0; line = line.sliced(at + 1)) {
        appendText(line.first(at));
        endLine();
    }
    appendText(line);
    endLine();
}

CatalogueText CatalogueLineBuilder::finish() {
    buffer_.truncate(lineStart_);
    size_ = lineStart_;
    return {std::exchange(buffer_, QByteArray()), unencodable_};
}

CatalogueText CatalogueLine(QStringView line) {
    CatalogueLineBuilder builder;
    builder.appendText(line);
    builder.endLine();
    return builder.finish();
}

CatalogueText PlainLyricText(const QByteArray& bytes) {
    const LyricEncoding encoding = DetectLyricEncoding(bytes);
    if (encoding == LyricEncoding::Cp1251) return {RecordLines(bytes).joined(), QString()};
    // Line ends and Ctrl-Z are the same bytes in UTF-8, so the lines are split first.
    CatalogueLineBuilder builder;
    for (const QByteArrayView line : RecordLines(LyricTextAsUtf8(bytes, encoding))) {
        builder.appendText(QString::fromUtf8(line));
        builder.endLine();
    }
    return builder.finish();
}

namespace {

// A character gives at most one byte, a line end two: the builder is given its room at once
// rather than growing through every size up to the song's.
qsizetype CatalogueRoomFor(const QStringList& lines) {
    qsizetype room = 0;
    for (const QString& line : lines) room += line.size() + 2;
    return room;
}

}  // namespace

CatalogueText CatalogueLines(const QStringList& lines) {
    CatalogueLineBuilder builder;
    builder.reserve(CatalogueRoomFor(lines));
    for (const QString& line : lines) builder.appendLine(line);
    return builder.finish();
}

// Nearly every song file is valid UTF-8, which QString::fromUtf8 converts (dropping the mark,
// as the decoder does) in far less time than QStringDecoder. It reports no error, though: it
// puts U+FFFD for each bad sequence. A text without U+FFFD therefore was valid.
std::optional<QString> PlainUtf8Text(const QByteArray& bytes) {
    QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter)) return std::nullopt;
    return text;
}

// A text with U+FFFD (damaged, or holding that character itself) goes through the decoder.
QString LyricFileText(const QByteArray& bytes) {
    if (std::optional<QString> text = PlainUtf8Text(bytes)) return *std::move(text);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    const LyricEncoding encoding = DetectLyricEncoding(bytes);
    if (encoding == LyricEncoding::Cp1251) return cp1251::decode(bytes);
    return QString::fromUtf8(LyricTextAsUtf8(bytes, encoding));
}

bool TextLineReader::next(QStringView& line) {
    if (at_ >= text_.size()) return false;
    const qsizetype end = std::min(nextFrom(u'\n', nextLf_), nextFrom(u'\r', nextCr_));
    line = text_.sliced(at_, end - at_);
    const bool crLf = end == nextCr_ && nextLf_ == end + 1;
    at_ = end + (crLf ? 2 : 1);
    return true;
}

qsizetype TextLineReader::nextFrom(QChar lineEnd, qsizetype& found) const {
    if (found < at_) {
        found = text_.indexOf(lineEnd, at_);
        if (found < 0) found = text_.size();
    }
    return found;
}

QStringList TextLines(const QString& text) {
    QStringList lines;
    TextLineReader reader(text);
    for (QStringView line; reader.next(line);) lines.append(line.toString());
    return lines;
}
