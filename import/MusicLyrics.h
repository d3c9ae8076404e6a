#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "import/SongFile.h"

namespace fileio {
class OpenFolder;
}

// The lyrics that music players keep inside audio files (ID3v2 USLT in .mp3, the Vorbis comment
// LYRICS or UNSYNCEDLYRICS in .flac, .ogg and .opus, ©lyr in .m4a), read with TagLib, and the
// .lrc files of timed lyrics that players keep beside them.

// Whether the file is an audio file of those kinds, or an .lrc file (any letter case).
bool IsMusicFile(const QString& fileName);
bool IsLrcFile(const QString& fileName);

// The text of an .lrc file: its time stamps ([mm:ss.xx], <mm:ss.xx>) and tag lines ([ar:…],
// [ti:…], …) taken out. `title` receives the [ti:] tag, when there is one.
QStringList LrcText(const QString& lrc, QString* title = nullptr);

// A song named by its file: the name without extension and without a leading track number
// ("01 ", "01. ", "01 - ").
QString SongNameOfMusicFile(const QString& fileName);

struct MusicAlbum {
    QList<ReadSong> songs;    // one per track, in track-number order when every track has one
    QStringList unreadFiles;  // "path: why", as the scan lists them
    int withoutLyrics = 0;    // audio files with no lyrics, in the tags or beside them
};

// The songs of the audio and .lrc files among `files` (names in the album folder, in the
// scanner's natural order). A song's name is its title tag, else the [ti:] of its .lrc file,
// else its file name; an .lrc file beside an audio file gives the text when the audio has none,
// and an .lrc file alone is a song of its own.
MusicAlbum ReadMusicAlbum(const fileio::OpenFolder& folder, const QStringList& files);
