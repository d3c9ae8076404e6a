// The line reader and the block grammar on arbitrary file content: the fast splitter and the
// written form must agree with the reading rules applied one byte at a time, and block
// collection and removal with their plain definitions.
#include "fuzz/FuzzTargets.h"

namespace {

constexpr char kCtrlZ = 0x1a;

// The reading rules, byte by byte: LF ends a line, CR is dropped, Ctrl-Z at a line start
// ends the file and inside a line skips the rest of that line.
Lines ReferenceLines(QByteArrayView bytes) {
    Lines lines;
    Line current;
    bool atLineStart = true;
    bool skippingRest = false;
    for (const char c : bytes) {
        if (atLineStart && c == kCtrlZ) return lines;
        atLineStart = false;
        if (c == '\n') {
            lines.append(current);
            current.clear();
            skippingRest = false;
            atLineStart = true;
        } else if (c == kCtrlZ) {
            skippingRest = true;
        } else if (c != '\r' && !skippingRest) {
            current.append(c);
        }
    }
    if (!atLineStart) lines.append(current);
    return lines;
}

Lines ReferenceBodies(const Lines& lines, QByteArrayView header, QByteArrayView endLine) {
    Lines bodies;
    qsizetype i = 0;
    while (i < lines.size()) {
        if (lines[i++] != header) continue;
        while (i < lines.size() && lines[i] != endLine) bodies.append(lines[i++]);
        ++i;
    }
    return bodies;
}

Lines ReferenceRemoval(const Lines& lines, QByteArrayView header, QByteArrayView endLine) {
    enum class State { Outside, InBlock, AfterBlock } state = State::Outside;
    Lines kept;
    for (const Line& line : lines) {
        switch (state) {
            case State::Outside:
                if (line == header)
                    state = State::InBlock;
                else
                    kept.append(line);
                break;
            case State::InBlock:
                if (line == endLine) state = State::AfterBlock;
                break;
            case State::AfterBlock:
                kept.append(line);
                state = State::Outside;
                break;
        }
    }
    return kept;
}

// Headers taken from the content itself, so that mutated inputs keep hitting their blocks:
// the first song header and the first text header found, else the first lines as names.
struct Headers {
    Line song;
    Line text;
};

Headers HeadersOf(const Lines& lines) {
    Headers h{SongBlockHeader(lines.value(0)), TextBlockHeader(lines.value(0), lines.value(1))};
    const QByteArray textMarker = ' ' + kBlockMarker + ' ';
    bool songFound = false, textFound = false;
    for (const Line& line : lines) {
        if (!songFound && line.endsWith(kBlockMarker)) {
            h.song = line;
            songFound = true;
        }
        if (!textFound && line.contains(textMarker)) {
            h.text = line;
            textFound = true;
        }
    }
    return h;
}

void CheckBlocks(const QByteArray& bytes, const Lines& lines, QByteArrayView header,
                 QByteArrayView endLine) {
    const Lines expected = ReferenceBodies(lines, header, endLine);
    // A file freshly read finds its blocks in the buffer, without its lines split.
    FUZZ_CHECK(CollectBlockBodies(RecordLines(bytes), header, endLine) == expected);
    FUZZ_CHECK(CollectBlockBodies(lines, header, endLine) == expected);

    Lines removed = lines;
    RemoveBlocksSkippingNext(removed, header, endLine);
    FUZZ_CHECK(removed == ReferenceRemoval(lines, header, endLine));
}

}  // namespace

int FuzzLineReader(const uint8_t* data, size_t size) {
    const QByteArray bytes = FuzzBytes(data, size);
    const RecordLines read(bytes);
    const Lines lines = read.toList();
    FUZZ_CHECK(lines == ReferenceLines(bytes));
    for (const Line& line : lines)
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n') && !line.contains(kCtrlZ));
    // A file freshly read gives its lines in written form, its own buffer when it already is.
    FUZZ_CHECK(RecordLines(bytes).joined() == JoinRecordLines(lines));

    const Headers headers = HeadersOf(lines);
    CheckBlocks(bytes, lines, headers.song, kSongBlockEnd);
    CheckBlocks(bytes, lines, headers.text, kTextBlockEnd);
    return 0;
}
