#include "printing/ChordLine.h"

#include <QRegularExpression>

namespace {

// One chord name as musicians write it: a root (H for B in Russian and German books), an
// optional sharp or flat, any of the usual qualities, extensions and alterations (m, maj7,
// sus4, dim, aug, +, add9, 7(b9)), and an optional bass note after a slash. Nothing else: a
// line with a single word of lyrics is no chord line, and a lyric word such as "Am" in a line
// of words still leaves that line a lyric line.
const QRegularExpression& ChordName() {
    static const QRegularExpression chord(
        QStringLiteral("^[A-H][#b]?(?:maj|min|dim|aug|sus|add|m|M|\\+|-|°|ø|[0-9]|[#b]|\\(|\\)|,)*"
                       "(?:/[A-H][#b]?)?$"));
    return chord;
}

}  // namespace

bool IsChordLine(const QString& line) {
    const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty()) return false;
    for (const QString& word : words)
        if (!ChordName().match(word).hasMatch()) return false;
    return true;
}

QList<ChordAt> ChordsOf(const QString& chordLine) {
    QList<ChordAt> chords;
    for (qsizetype at = 0; at < chordLine.size();) {
        if (chordLine[at] == u' ') {
            ++at;
            continue;
        }
        qsizetype end = chordLine.indexOf(u' ', at);
        if (end < 0) end = chordLine.size();
        chords.append({chordLine.mid(at, end - at), int(at)});
        at = end;
    }
    return chords;
}
