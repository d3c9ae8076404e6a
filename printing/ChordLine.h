#pragma once

#include <QList>
#include <QString>

// A chord line: a lyric line that holds only chord names, each standing over the character of
// the next line where it is played ("Am   C   G7  D/F#"). Lyric files have them in this
// "chords over words" form, and the song scanner writes ChordPro's and OpenLyrics' chords so.
bool IsChordLine(const QString& line);

struct ChordAt {
    QString name;
    int column = 0;  // the character of the lyric line below that the chord stands over
};

// The chords of a chord line with their columns.
QList<ChordAt> ChordsOf(const QString& chordLine);
