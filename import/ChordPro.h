#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "import/SongFile.h"
#include "import/SongFormats.h"

// ChordPro, the text format of chord sheets: lyric lines with chords in brackets ("[Am]Ой,
// [E]мороз") and directives in braces ("{title: Ой, мороз}", "{start_of_chorus}").

// The songs of a ChordPro file ({new_song} starts the next one). A song is named by its
// {title:}, else by `fileName`; chords become chord lines above their lyric lines; each
// section ({start_of_chorus} … {end_of_chorus}, and the other start_of_/end_of_ pairs) is a
// block apart, an empty line before and after it; {comment:} lines are text; every other
// directive and every "#" remark goes. Throws SongFileRefused for a "[" or "{" left open.
QList<ReadSong> ReadChordPro(const QByteArray& bytes, const QString& fileName);

// The songs of ReadChordPro, each as the catalogue stores it (see ScannedSongBuilder): the
// scanner's way, which makes no string for each line. Throws SongFileRefused as ReadChordPro.
QList<ScannedSong> ReadChordProForScan(const QByteArray& bytes, const QString& fileName);

// One song as a ChordPro file in UTF-8: {title:}, {artist:}, {album:}, then the text with its
// chord lines folded into "[chords]" (a chord line that cannot be folded back exactly stays a
// line of text).
QByteArray WriteChordPro(const QString& performer, const QString& album, const ReadSong& song);
