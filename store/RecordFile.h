#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <vector>

// A line of a catalogue file: Windows-1251 bytes, without its line end.
using Line = QByteArray;
using Lines = QList<QByteArray>;

// The lines of one file as read: one buffer, split into a view per line only when a caller
// asks for lines by index, so that finding one block of a large text file costs little more
// than reading it.
class RecordLines {
  public:
    RecordLines() = default;
    // Splits bytes into lines by the catalogue's reading rules: LF ends a line (with or
    // without CR before it), a lone CR is dropped, Ctrl-Z where a line would begin ends the
    // file and inside a line ends that line, a last line without line end still counts.
    explicit RecordLines(QByteArray bytes);

    qsizetype size() const { return qsizetype(index().size()); }
    bool isEmpty() const { return index().empty(); }
    QByteArrayView operator[](qsizetype i) const { return index()[size_t(i)]; }
    auto begin() const { return index().begin(); }
    auto end() const { return index().end(); }
    Lines toList() const;
    // The bytes JoinRecordLines writes for these lines. A file already written that way (the
    // usual case) gives its own buffer, without a copy.
    QByteArray joined() const;
    // True when the bytes read are exactly what JoinRecordLines writes for these lines: every
    // line followed by CR LF, no lone CR, no Ctrl-Z.
    bool inWrittenForm() const;

    // The bodies of every block with this header (see CollectBlockBodies).
    Lines blockBodies(QByteArrayView header, QByteArrayView endLine) const;

  private:
    bool holdsOnlyPlainLineEnds();
    const std::vector<QByteArrayView>& index() const;
    void splitPlainLines() const;
    void splitAnyLines();
    Lines plainBlockBodies(QByteArrayView header, QByteArrayView endLine) const;

    QByteArray data_;
    // Plain: no Ctrl-Z and every CR right before an LF, so a line is exactly the bytes between
    // two LFs less a final CR, and the buffer keeps the file's bytes as read. Other files are
    // split at once, their lone CRs squeezed out of the buffer.
    bool plain_ = true;
    // Of a plain file: no LF stands without a CR before it.
    bool everyLineFeedHasCr_ = true;
    // A plain file is split only when a caller asks for lines by position; until then its
    // lines are found in the buffer.
    mutable bool indexed_ = false;
    mutable std::vector<QByteArrayView> lines_;
};

inline const QByteArray kBlockMarker = QByteArrayLiteral("##-**~");
inline const QByteArray kSongBlockEnd = QByteArrayLiteral("endalbum");
inline const QByteArray kTextBlockEnd = QByteArrayLiteral("endsong");

// Throws StoreReadError when the file cannot be opened.
RecordLines ReadRecordFile(const QString& path);
// Writes every line followed by CR LF, replacing the file as one step (a failed write leaves
// the old file whole). An empty list leaves a zero-length file.
void WriteRecordFile(const QString& path, const Lines& lines);
// Adds lines at the end of an existing file, as one step. Throws StoreReadError when the
// file does not exist.
void AppendRecordFile(const QString& path, const Lines& lines);

// The bytes WriteRecordFile writes for these lines.
QByteArray JoinRecordLines(const Lines& lines);

// In bytes in the written form, the position of the first line equal to `line` at or after
// `from`: `line` + CR LF at the start or right after an LF. -1 when there is none.
qsizetype FindWrittenLine(QByteArrayView bytes, QByteArrayView line, qsizetype from = 0);

Line SongBlockHeader(QByteArrayView album);
Line TextBlockHeader(QByteArrayView album, QByteArrayView song);

// The bodies of every block with this header, in file order, one after the other. A block
// without its end line runs to the end of the file.
template <typename LineContainer>
Lines CollectBlockBodies(const LineContainer& lines, QByteArrayView header,
                         QByteArrayView endLine) {
    Lines body;
    bool inBlock = false;
    for (const auto& line : lines) {
        const QByteArrayView view(line);
        if (inBlock) {
            if (view == endLine)
                inBlock = false;
            else
                body.append(view.toByteArray());
        } else if (view == header) {
            inBlock = true;
        }
    }
    return body;
}

// The same for a file as read, without splitting all of it into lines.
inline Lines CollectBlockBodies(const RecordLines& lines, QByteArrayView header,
                                QByteArrayView endLine) {
    return lines.blockBodies(header, endLine);
}

// Removes from `lines` every block with this header, the way the editors do before they
// append the new block: from the header up to and including the next end line (or the end
// of the file); the line after a removed block is not examined, so a block that follows
// directly with the same header stays.
void RemoveBlocksSkippingNext(Lines& lines, QByteArrayView header, QByteArrayView endLine);
