#include "store/RecordFile.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstring>

#include "store/FileIo.h"

namespace {

constexpr char kCtrlZ = 0x1a;

template <typename LineContainer>
QByteArray JoinLines(const LineContainer& lines) {
    qsizetype total = 0;
    for (const auto& line : lines) total += line.size() + 2;
    QByteArray bytes;
    bytes.reserve(total);
    for (const auto& line : lines) {
        bytes.append(line);
        bytes.append("\r\n", 2);
    }
    return bytes;
}

}  // namespace

RecordLines::RecordLines(QByteArray bytes) : data_(std::move(bytes)) {
    if (!holdsOnlyPlainLineEnds()) {
        plain_ = false;
        splitAnyLines();
        indexed_ = true;
    }
}

// One branch-free pass the compiler turns into vector code (byte-wide flags, so sixteen bytes
// a step): a text file is read once for this check, which also notes for inWrittenForm()
// whether some LF lacks its CR, and once more only around the block that is looked for.
bool RecordLines::holdsOnlyPlainLineEnds() {
    const auto* const bytes = reinterpret_cast<const unsigned char*>(data_.constData());
    const qsizetype total = data_.size();
    if (total == 0) return true;
    constexpr qsizetype kChunk = 4096;
    unsigned char bareLineFeed = bytes[0] == '\n';
    for (qsizetype start = 0; start < total - 1; start += kChunk) {
        const qsizetype stop = std::min(start + kChunk, total - 1);
        unsigned char bad = 0;
        for (qsizetype i = start; i < stop; ++i) {
            bad |= (bytes[i] == kCtrlZ) | ((bytes[i] == '\r') & (bytes[i + 1] != '\n'));
            bareLineFeed |= (bytes[i] != '\r') & (bytes[i + 1] == '\n');
        }
        if (bad) return false;
    }
    everyLineFeedHasCr_ = !bareLineFeed;
    const unsigned char last = bytes[total - 1];
    return last != kCtrlZ && last != '\r';
}

const std::vector<QByteArrayView>& RecordLines::index() const {
    if (!indexed_) {
        splitPlainLines();
        indexed_ = true;
    }
    return lines_;
}

// Only for plain lines: one memchr a line.
void RecordLines::splitPlainLines() const {
    const char* const base = data_.constData();
    const qsizetype total = data_.size();
    lines_.reserve(size_t(total / 32 + 16));
    qsizetype pos = 0;
    while (pos < total) {
        const void* lf = std::memchr(base + pos, '\n', size_t(total - pos));
        const qsizetype lineEnd = lf ? static_cast<const char*>(lf) - base : total;
        const qsizetype textEnd =
            lineEnd > pos && base[lineEnd - 1] == '\r' ? lineEnd - 1 : lineEnd;
        lines_.emplace_back(base + pos, textEnd - pos);
        pos = lineEnd + 1;
    }
}

void RecordLines::splitAnyLines() {
    char* const base = data_.data();  // lone CRs are squeezed out in place
    const qsizetype total = data_.size();
    qsizetype pos = 0;
    while (pos < total) {
        if (base[pos] == kCtrlZ) break;  // where a line would begin, Ctrl-Z ends the file
        const void* lf = std::memchr(base + pos, '\n', size_t(total - pos));
        const qsizetype lineEnd = lf ? static_cast<const char*>(lf) - base : total;
        qsizetype textEnd = lineEnd;
        if (const void* z = std::memchr(base + pos, kCtrlZ, size_t(lineEnd - pos)))
            textEnd = static_cast<const char*>(z) - base;
        // Drop every CR of the line's text: the one before LF and any lone one.
        qsizetype out = pos;
        for (qsizetype i = pos; i < textEnd; ++i)
            if (base[i] != '\r') base[out++] = base[i];
        lines_.emplace_back(base + pos, out - pos);
        pos = lineEnd + 1;
    }
}

// Searched with glibc's memmem, as the block search below is: a save looks through the whole
// of a text file of tens of megabytes for other blocks with its header.
qsizetype FindWrittenLine(QByteArrayView bytes, QByteArrayView line, qsizetype from) {
    // The line with its line end, on the stack for a line of usual length: the scanner looks
    // for the text block end in every song it adds.
    QVarLengthArray<char, 256> wanted(line.begin(), line.end());
    wanted.append("\r\n", 2);
    const char* const base = bytes.data();
    while (from < bytes.size()) {
        const auto* hit = static_cast<const char*>(::memmem(
            base + from, size_t(bytes.size() - from), wanted.constData(), size_t(wanted.size())));
        if (!hit) return -1;
        if (hit == base || hit[-1] == '\n') return hit - base;
        from = hit - base + 1;
    }
    return -1;
}

Lines RecordLines::toList() const {
    Lines list;
    list.reserve(size());
    for (const QByteArrayView& line : index()) list.append(line.toByteArray());
    return list;
}

QByteArray RecordLines::joined() const {
    return inWrittenForm() ? data_ : JoinLines(index());
}

// A plain file is in the written form when every LF has its CR and the last line its line end.
bool RecordLines::inWrittenForm() const {
    if (!plain_) return false;
    return data_.isEmpty() || (data_.back() == '\n' && everyLineFeedHasCr_);
}

Lines RecordLines::blockBodies(QByteArrayView header, QByteArrayView endLine) const {
    if (indexed_ || header.isEmpty()) return CollectBlockBodies(index(), header, endLine);
    return plainBlockBodies(header, endLine);
}

// Searches the buffer for the header (a skipping search, so a block costs far less than its
// lines) and splits only the bodies of the blocks it finds. A hit counts only as a whole line.
Lines RecordLines::plainBlockBodies(QByteArrayView header, QByteArrayView endLine) const {
    Lines body;
    // Plain lines hold neither CR nor LF, so such a header equals no line.
    if (header.contains('\r') || header.contains('\n')) return body;
    const char* const base = data_.constData();
    const char* const end = base + data_.size();
    const char* pos = base;
    while (pos < end) {
        const char* const hit = static_cast<const char*>(
            ::memmem(pos, size_t(end - pos), header.data(), size_t(header.size())));
        if (!hit) break;
        const char* const after = hit + header.size();
        const bool startsLine = hit == base || hit[-1] == '\n';
        const bool endsLine = after == end || *after == '\n' || *after == '\r';
        if (!startsLine || !endsLine) {
            pos = hit + 1;
            continue;
        }
        pos = after == end
                  ? end
                  : static_cast<const char*>(std::memchr(after, '\n', size_t(end - after))) + 1;
        while (pos < end) {
            const char* lf = static_cast<const char*>(std::memchr(pos, '\n', size_t(end - pos)));
            const char* const lineEnd = lf ? lf : end;
            const char* const textEnd =
                lineEnd > pos && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd;
            const QByteArrayView line(pos, textEnd - pos);
            pos = lf ? lf + 1 : end;
            if (line == endLine) break;
            body.append(line.toByteArray());
        }
    }
    return body;
}

RecordLines ReadRecordFile(const QString& path) {
    return RecordLines(fileio::readAll(path));
}

QByteArray JoinRecordLines(const Lines& lines) {
    return JoinLines(lines);
}

void WriteRecordFile(const QString& path, const Lines& lines) {
    fileio::writeAtomic(path, JoinRecordLines(lines));
}

void AppendRecordFile(const QString& path, const Lines& lines) {
    QByteArray bytes = fileio::readAll(path);
    bytes.append(JoinRecordLines(lines));
    fileio::writeAtomic(path, bytes);
}

Line SongBlockHeader(QByteArrayView album) {
    return album.toByteArray() + kBlockMarker;
}

Line TextBlockHeader(QByteArrayView album, QByteArrayView song) {
    Line header;
    header.reserve(album.size() + kBlockMarker.size() + song.size() + 2);
    header.append(album).append(' ').append(kBlockMarker).append(' ').append(song);
    return header;
}

void RemoveBlocksSkippingNext(Lines& lines, QByteArrayView header, QByteArrayView endLine) {
    Lines kept;
    kept.reserve(lines.size());
    qsizetype i = 0;
    while (i < lines.size()) {
        if (lines[i] != header) {
            kept.append(lines[i++]);
            continue;
        }
        ++i;
        while (i < lines.size() && lines[i] != endLine) ++i;
        if (i < lines.size()) ++i;                      // the end line goes with its block
        if (i < lines.size()) kept.append(lines[i++]);  // the next line is not examined
    }
    lines = std::move(kept);
}
