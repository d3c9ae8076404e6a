#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "import/SongFile.h"
#include "import/SongFormats.h"

// OpenLyrics, the open XML song format of song and worship programs
// (namespace http://openlyrics.info/namespace/2009/song).

// One song of an OpenLyrics file, version 0.7, 0.8 or 0.9. Its name is the title marked
// original="true", else the first title, else `fileName`; its text the verses in verseOrder
// when it names any (a name as written, or "c" for "c1"), else in document order, an empty
// line between verses; lines end at <br/> (0.8, 0.9) or with each <line> (0.7); comments and
// formatting tags give their text; chords (<chord root= structure= bass=/> of 0.9, <chord
// name=/> before) become chord lines above their lyric lines. Throws SongFileRefused for a
// document that is not well-formed, is no OpenLyrics song, or declares a DTD (which could
// expand entities without end or fetch them from outside; no OpenLyrics file has one).
ReadSong ReadOpenLyrics(const QByteArray& bytes, const QString& fileName);

// The same song as the scanner stores it: encoded for the catalogue line by line, without a
// list of its lines in between.
ScannedSong ReadOpenLyricsForScan(const QByteArray& bytes, const QString& fileName);

// The same, read by Qt's XML reader alone. ReadOpenLyrics reads the plain XML that song
// programs write with a faster reader of its own and leaves every other document to Qt's; the
// two give the same song for every document the faster one takes.
ReadSong ReadOpenLyricsWithQtReader(const QByteArray& bytes, const QString& fileName);

// Where the song stands among the songs of a songbook (an album).
struct SongbookEntry {
    QString performer;  // written as the song's author
    QString album;
    int number = 0;  // from 1
};

// One song as an OpenLyrics 0.9 document in UTF-8 (valid against the format's RelaxNG
// schema): the verses are the text's runs of lines between empty lines (v1, v2, …); chord
// lines are folded into <chord/> marks where the notation can say every chord of the line,
// else they stay lines of text.
QByteArray WriteOpenLyrics(const ReadSong& song, const SongbookEntry& entry,
                           const QDateTime& modified);
