#include "store/RecordFile.h"

#include <algorithm>
#include <cstring>

#include "store/FileIo.h"

namespace {
constexpr char kCtrlZ = 0x1a;
}

RecordLines::RecordLines(QByteArray bytes) : data_(std::move(bytes)) {
    if (data_.isEmpty()) return;
    lines_.reserve(size_t(data_.size() / 32 + 16));
    if (!splitPlainLines()) {
        lines_.clear();
        splitAnyLines();
    }
}

// The usual file: CR LF or LF line ends, no Ctrl-Z and no lone CR. One memchr a line.
bool RecordLines::splitPlainLines() {
    const char* const base = data_.constData();
    const qsizetype total = data_.size();
    if (std::memchr(base, kCtrlZ, size_t(total))) return false;
    const qsizetype crs = std::count(base, base + total, '\r');
    qsizetype stripped = 0;
    qsizetype pos = 0;
    while (pos < total) {
        const void* lf = std::memchr(base + pos, '\n', size_t(total - pos));
        const qsizetype lineEnd = lf ? static_cast<const char*>(lf) - base : total;
        qsizetype textEnd = lineEnd;
        if (textEnd > pos && base[textEnd - 1] == '\r') {
            --textEnd;
            ++stripped;
        }
        lines_.emplace_back(base + pos, textEnd - pos);
        pos = lineEnd + 1;
    }
    return stripped == crs;
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

Lines RecordLines::toList() const {
    Lines list;
    list.reserve(size());
    for (const QByteArrayView& line : lines_) list.append(line.toByteArray());
    return list;
}

RecordLines ReadRecordFile(const QString& path) {
    return RecordLines(fileio::readAll(path));
}

QByteArray JoinRecordLines(const Lines& lines) {
    qsizetype total = 0;
    for (const Line& line : lines) total += line.size() + 2;
    QByteArray bytes;
    bytes.reserve(total);
    for (const Line& line : lines) {
        bytes.append(line);
        bytes.append("\r\n", 2);
    }
    return bytes;
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
    return album.toByteArray() + ' ' + kBlockMarker + ' ' + song.toByteArray();
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
