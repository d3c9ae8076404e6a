// What the line writer writes, the line reader reads back: any lines without line-break
// bytes and Ctrl-Z, and a text block of such lines gives back its body.
#include "fuzz/FuzzTargets.h"

int FuzzLineRoundTrip(const uint8_t* data, size_t size) {
    const Lines lines = StorableLinesOf(QByteArrayView(data, qsizetype(size)));
    const QByteArray written = JoinRecordLines(lines);
    FUZZ_CHECK(RecordLines(written).toList() == lines);

    if (lines.isEmpty() || lines.contains(kTextBlockEnd)) return 0;
    const Line header = TextBlockHeader(lines.first(), lines.last());
    Lines file{header};
    file += lines;
    file.append(kTextBlockEnd);
    const RecordLines read(JoinRecordLines(file));
    const Lines body = CollectBlockBodies(read, header, kTextBlockEnd);
    // A body line equal to the header is a body line like any other.
    FUZZ_CHECK(body == lines);
    return 0;
}
