#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <exception>

#include "import/SongFormats.h"
#include "store/RecordFile.h"

class FileSetChange;
class PerformerRepository;

// The song scanner's work on files: a folder whose entries are albums, each holding .txt and
// .rtf lyric files and the song files of other programs (import/SongFormats.h), becomes one
// performer's album list, song list and text file.

struct ScanSong {
    QString name;      // the file name without its extension
    QString fileName;  // as listed
    SongFileKind kind;
};

struct ScanAlbum {
    QString name;           // the entry's name in the scan folder
    QList<ScanSong> songs;  // the .txt files first, then the .rtf files, then the others
};

// The album entries of the scan folder with their song files, in a stable natural order
// (Album 2 before Album 10). Throws StoreError when a folder cannot be listed.
QList<ScanAlbum> CollectScanAlbums(const QString& scanFolder);

// The folder check: some album entry holds a song file. A folder that cannot be listed has no
// entries.
bool IsScannableFolder(const QString& scanFolder);

// A scan that the catalogue could not store; message() says why, naming the file. Nothing has
// been changed.
class ScanRefused : public std::exception {
  public:
    explicit ScanRefused(QString message) : message_(std::move(message)) {}
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return "scan refused"; }

  private:
    QString message_;
};

struct ScanOutcome {
    Lines albums;  // the album list as written
    // One entry per song whose text held characters Windows-1251 lacks, now stored as "?":
    // "album / song: characters".
    QStringList replacedCharacters;
    // Set when a picture of the old catalogue could not be deleted (the scan itself is
    // stored): the failure's description, for the general error report.
    QString picturesLeft;
    // One entry per song file that was passed over or read only in part: "path: why".
    QStringList unreadFiles;
    // Music files passed over because they hold no lyrics and have no .lrc file beside them.
    int musicWithoutLyrics = 0;
};

// Reads every song of the scan folder, and only when all of them have been read replaces the
// performer's Albums.lrx, Songs.lrx and Texts.lrx and deletes the files of its picture folder,
// every step one of `change`. Throws ScanRefused or StoreError before anything is written, or
// StoreError from a write (the change then puts the old files back).
ScanOutcome ScanSongsIntoPerformer(FileSetChange& change, const PerformerRepository& repository,
                                   QByteArrayView performer, const QString& scanFolder);
