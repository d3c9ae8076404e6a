#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Chords as lyric files hold them: a line of chord names above the lyric line they are played
// over, each name starting at the column of the syllable it falls on. Song formats put the
// chords inside the lyric line instead (ChordPro's "[Am]", OpenLyrics' <chord/>); folding turns
// the first form into the second and unfolding back, column for column.

struct PlacedChord {
    qsizetype column = 0;  // the character of the lyric line the chord is played on
    QString name;          // as musicians write it: "Am", "D7", "G/B"
};

// A lyric line with its chords; a chord line above no lyric line has an empty lyric and its
// chords at the columns they stood at.
struct ChordedLine {
    QString lyric;
    QList<PlacedChord> chords;
};

// A chord name as guitar songbooks write it: a root A to H with # or b, a suffix of chord
// words and figures (m, maj, dim, aug, sus, add, 7, b5, +, …) and a bass note after "/".
bool IsChordName(QStringView name);

// A line of nothing but chord names, separated by spaces (at least one name).
bool IsChordLine(QStringView line);

// Every chord line of `lines` folded into the lyric line below it (when the next line is one
// that is no chord line and not empty); every other line as it stands, without chords.
QList<ChordedLine> FoldChordLines(const QStringList& lines);

// The lines a chorded line stands for: its chord line (the names at their columns, a name that
// would touch the one before it moved right to leave one space) and its lyric. A lyric that is
// blank gives no line of its own; the spaces that only carried chords past the lyric's end are
// dropped.
QStringList UnfoldChords(const ChordedLine& line);
// The same lines appended to `lines`.
void AppendUnfolded(const ChordedLine& line, QStringList& lines);

// The two rules of UnfoldChords, for readers that unfold a chorded line as they read it,
// without a ChordedLine in between (ChordPro, whose chords stand inside the lyric line).
// Appends a chord name to a chord line built from left to right: at `column`, or one space
// after the name before it where it would touch that one.
void PlaceChord(QString& chordLine, qsizetype column, QStringView name);
// How much of a lyric stands under its chord line, whose last chord is at `lastChordColumn`:
// all of it, or without the trailing spaces when they only carried chords past its end; 0
// when it is blank (it gives no line).
qsizetype LyricLengthUnderChords(QStringView lyric, qsizetype lastChordColumn);

// The lyric of a chorded line with each chord's column reached, spaces added where the lyric
// ends before a chord: the text that writers place the chord marks into.
QString LyricReachingChords(const ChordedLine& line);

// A chord in the notation of OpenLyrics 0.9: an English root and bass note, and the chord's
// structure from the OpenLyrics chord list (empty for the major triad).
struct OpenLyricsChord {
    QString root;
    QString structure;
    QString bass;
};

// The OpenLyrics chord for a name, when that notation can say it (no H, no unlisted suffix).
std::optional<OpenLyricsChord> ToOpenLyricsChord(QStringView name);

// The name musicians give an OpenLyrics chord: the root, the usual suffix of its structure
// (a structure formula or shortcode of the OpenLyrics list), and "/bass". A structure that has
// no usual suffix is written out in parentheses after the root: "C(3-5-a9)".
QString OpenLyricsChordName(const OpenLyricsChord& chord);
QString OpenLyricsChordName(QStringView root, QStringView structure, QStringView bass);
