#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QStringList>
#include <optional>
#include <vector>

#include "store/RecordFile.h"

// One performer's catalogue: its album list, song list and text file as the program read them,
// and the album pictures of its picture folder. This is the one place that knows how albums,
// song blocks and text blocks sit in the three line files; everything else walks albums, songs
// and texts through it.
//
// The model keeps each file's bytes as they were read. The edits follow the editors' rules line
// by line, and a file no edit touched keeps its bytes, so saving an unchanged catalogue writes
// back exactly what it read (lone CRs, LF line ends and a Ctrl-Z at the end included).

// One line file: its bytes and, split on demand, its lines by the reading rules.
class LineFile {
  public:
    LineFile() = default;
    // A file as read.
    explicit LineFile(QByteArray stored);
    // A file as read, with a buffer of its own, and the same bytes kept elsewhere.
    LineFile(QByteArray stored, const QByteArray& sameBytes);
    // A file made anew from lines, in the written form (CR LF after every line).
    static LineFile written(const Lines& lines);
    // A file made anew from bytes already in the written form.
    static LineFile made(QByteArray bytes);

    // What the file holds now: the bytes read, or the written form of the lines after an edit.
    const QByteArray& bytes() const { return bytes_; }
    bool changed() const { return changed_; }
    // The bytes the file was read with; none for a file made anew.
    const std::optional<QByteArray>& asRead() const { return asRead_; }
    const RecordLines& lines() const;
    Lines toList() const { return lines().toList(); }
    // The bodies of every block with this header, in file order.
    Lines bodies(QByteArrayView header, QByteArrayView endLine) const {
        return lines().blockBodies(header, endLine);
    }

    // The file anew from these lines.
    void replaceLines(const Lines& lines);
    // The editors' rewrite of one block: every block with this header goes with its end line
    // (the line after a removed block is not looked at, so a block that follows directly with
    // the same header stays), and the new block goes at the end of the file.
    void replaceBlock(QByteArrayView header, QByteArrayView endLine, const Lines& body);
    // The file's lines as read, followed by these.
    void appendLines(const Lines& lines);

  private:
    void take(QByteArray bytes);

    QByteArray bytes_;
    std::optional<QByteArray> asRead_;
    mutable std::optional<RecordLines> lines_;
    bool changed_ = false;
};

struct CatalogueSong {
    Line name;
    Lines text;  // the lines the text pane shows for the song
};

struct CatalogueAlbum {
    Line name;
    QList<CatalogueSong> songs;
};

// A song of the walk with its text in one piece, the lines joined by LF.
struct JoinedSong {
    Line album;
    Line name;
    QByteArray text;
};

class PerformerCatalogue {
  public:
    Line performer;
    LineFile albumList;
    LineFile songList;
    LineFile textFile;
    // The album pictures (file names of *.jpg, any letter case) in the picture folder's listing
    // order.
    QStringList pictures;

    // What the main window lists for a choice: the album list's lines, the songs of every
    // song block of the album, the text of every text block of the song.
    Lines albums() const { return albumList.toList(); }
    Lines songsOf(QByteArrayView album) const;
    Lines textOf(QByteArrayView album, QByteArrayView song) const;

    // Every line of the album list, in order, with the songs of its song blocks and their
    // texts, as choosing each in turn would show them. Each file is gone through once.
    QList<CatalogueAlbum> walk() const;
    // The same songs in the same order, each text in one piece: what the lyrics index reads of
    // every song, without a piece of its own for every line of every text.
    QList<JoinedSong> walkJoined() const;

    // ---- the editors' rewrites ----
    // The album list anew; every album whose song block header is no line of the song list
    // gets an empty song block at the end of it (an album listed twice gets one). False when
    // the song list is left as it was.
    bool setAlbumList(const Lines& albums);
    // The album's song blocks go; the new block is the song list's last.
    void setSongList(QByteArrayView album, const Lines& songs);
    // The song's text blocks go; the new block is the text file's last.
    void setText(QByteArrayView album, QByteArrayView song, const Lines& text);
    // Album list lines equal to the old name, song block headers of the old name and text block
    // headers that begin with the old name and " ##-**~" take the new name.
    void renameAlbum(QByteArrayView oldName, QByteArrayView newName);
    // The song's lines inside every song block of its album and its text block headers take
    // the new name; songs of other albums keep theirs.
    void renameSong(QByteArrayView album, QByteArrayView oldName, QByteArrayView newName);

  private:
    // The walk's albums with their songs, texts not yet read; the songs' text block headers go
    // into `textHeaders`.
    QList<CatalogueAlbum> albumsWithSongs(QSet<QByteArray>& textHeaders) const;
};

// A catalogue made anew, album by album and song by song, as the scanner makes one: the album
// list, one song block per album and one text block per song, in order. A song's text comes
// in the written form (CR LF after every line), so a lyric file that already has it goes into
// the text file as one piece.
class CatalogueBuilder {
  public:
    // `textBytes`: room for the text file, reserved at once.
    explicit CatalogueBuilder(Line performer, qsizetype textBytes = 0);
    void addAlbum(const Line& album);
    // A song of the album added last.
    void addSong(const Line& song, const QByteArray& writtenText);
    PerformerCatalogue finish();

  private:
    void endAlbum();

    Line performer_;
    Lines albums_;
    Lines songBlocks_;
    QByteArray texts_;  // the text file, block by block
    bool albumOpen_ = false;
};
