#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

#include "import/LyricText.h"
#include "import/SongFile.h"

// The song files of other programs that the scanner reads besides .txt and .rtf lyric files:
// ChordPro (.cho, .chopro, .chordpro, .crd, .pro) and OpenLyrics (.xml).

// What the scanner makes of a file, by its extension in any letter case: a lyric file (.txt,
// .rtf), a song format file, an audio file (import/MusicLyrics.h) or an .lrc file beside one.
enum class SongFileKind { Other, Txt, Rtf, ChordPro, OpenLyrics, Music, Lrc };
SongFileKind SongFileKindOf(QStringView fileName);

inline bool IsSongFormatFile(SongFileKind kind) {
    return kind == SongFileKind::ChordPro || kind == SongFileKind::OpenLyrics;
}

// A song of a song file as the scanner stores it.
struct ScannedSong {
    QString name;
    CatalogueText text;
    bool cut = false;  // the text was longer than kLongestSongText and lost its end
};

// The text of a ScannedSong from a song's lines, given one by one: cut as CapSongText cuts
// them and encoded as CatalogueLines encodes them, without a list of the lines in between.
class ScannedSongBuilder {
  public:
    void appendLine(QStringView line);
    ScannedSong finish(const QString& name);

  private:
    CatalogueLineBuilder text_;
    qsizetype length_ = 0;  // of the lines taken, in characters as CapSongText counts them
    bool cut_ = false;
};

// A song's lines given one by one, kept as a ReadSong: the readers that give a song to the
// scanner (ScannedSongBuilder) give it the same way to everyone else.
class SongLines {
  public:
    void appendLine(QStringView line) { lines_.append(line.toString()); }
    void appendLine(const QString& line) { lines_.append(line); }
    ReadSong finish(const QString& name) { return {name, std::exchange(lines_, {})}; }

  private:
    QStringList lines_;
};

// The songs of such a file as the catalogue stores them: its name without the extension stands
// for a song without a title. Throws SongFileRefused.
QList<ScannedSong> ReadSongFormatFile(const QByteArray& bytes, const QString& fileName);

// The file name without its extension (the part after the last dot).
QString WithoutExtension(const QString& fileName);

// The entry of the scan's list of files read only in part for a song text that was cut.
QString CutTextNote(const QString& path);

// The song's text cut to kLongestSongText characters, between lines (or inside an overlong
// line). True when something was cut.
bool CapSongText(QStringList& lines);
