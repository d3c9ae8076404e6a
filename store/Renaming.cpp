#include "store/Renaming.h"

#include "store/Catalogue.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

namespace {

void replaceEqualLines(Lines& lines, QByteArrayView from, QByteArrayView to) {
    for (Line& line : lines)
        if (line == from) line = to.toByteArray();
}

// Text block headers are album + " ##-**~ " + song: the album part of every line that begins
// with the old album's prefix takes the new name, whatever follows it.
void replaceTextHeaderAlbum(Lines& lines, QByteArrayView oldAlbum, QByteArrayView newAlbum) {
    const QByteArray prefix = oldAlbum.toByteArray() + ' ' + kBlockMarker;
    for (Line& line : lines)
        if (line.startsWith(prefix)) line.replace(0, oldAlbum.size(), newAlbum.toByteArray());
}

// Song names inside every block with the album's header, up to its end line.
void replaceSongInAlbumBlocks(Lines& lines, QByteArrayView header, QByteArrayView oldSong,
                              QByteArrayView newSong) {
    qsizetype i = 0;
    while (i < lines.size()) {
        if (lines[i] != header) {
            ++i;
            continue;
        }
        for (++i; i < lines.size() && lines[i] != kSongBlockEnd; ++i)
            if (lines[i] == oldSong) lines[i] = newSong.toByteArray();
    }
}

// No picture, or a file of the new name already there: the album just has no picture under
// its new name. A picture that is there and free to move but fails to move is a failure.
bool renamePictureIfFree(FileSetChange& files, const QString& startDir, QByteArrayView performer,
                         QByteArrayView oldAlbum, QByteArrayView newAlbum) {
    QString from;
    QString to;
    try {
        from = PerformerStorePath(startDir, StoreEntry::AlbumPicture, performer, oldAlbum);
        to = PerformerStorePath(startDir, StoreEntry::AlbumPicture, performer, newAlbum);
    } catch (const StoreNameError&) {
        return false;
    }
    if (!fileio::isFile(from) || fileio::exists(to)) return false;
    files.rename(from, to);
    return true;
}

// The carrying deletes old files only where a copy exists or where nothing is carried; a
// file that will not go stays behind, and the folder removal at the end reports it.
void removeFileQuietly(const QString& path) {
    try {
        fileio::removeFile(path);
    } catch (const StoreError&) {
    }
}

// Deletes the old line files and every file of the old picture folder (the pictures have
// their copies, other files are not carried), then the two old folders. False when a folder
// is left.
bool removeOldPerformerFolder(const QString& startDir, QByteArrayView oldName) {
    const auto oldPath = [&](StoreEntry e) { return PerformerStorePath(startDir, e, oldName); };
    for (StoreEntry file : kPerformerLineFiles) removeFileQuietly(oldPath(file));
    RemoveFilesIn(oldPath(StoreEntry::PictureFolder));
    try {
        fileio::removeDir(oldPath(StoreEntry::PictureFolder));
        fileio::removeDir(oldPath(StoreEntry::PerformerFolder));
    } catch (const StoreError&) {
        return false;
    }
    return true;
}

}  // namespace

void RenameAlbum(const QString& startDir, QByteArrayView performer, QByteArrayView oldName,
                 QByteArrayView newName, AlbumRename& progress) {
    const QString albumsPath = PerformerStorePath(startDir, StoreEntry::AlbumList, performer);
    const Lines oldAlbums = ReadRecordFile(albumsPath).toList();
    progress.albumListRead = true;
    progress.albumList = oldAlbums;
    Lines albums = oldAlbums;
    replaceEqualLines(albums, oldName, newName);

    // The album's songs and lyrics are found through its name in all three files and in its
    // picture's name: either all of them take the new name or none does.
    FileSetChange files;
    files.onUndone([&] {
        progress.albumListWritten = false;
        progress.albumList = oldAlbums;
    });
    files.replace(albumsPath, JoinRecordLines(albums));
    progress.albumListWritten = true;
    progress.albumList = albums;

    const QString songsPath = PerformerStorePath(startDir, StoreEntry::SongList, performer);
    Lines songs = ReadRecordFile(songsPath).toList();
    progress.songListRead = true;
    replaceEqualLines(songs, SongBlockHeader(oldName), SongBlockHeader(newName));
    files.replace(songsPath, JoinRecordLines(songs));

    const QString textsPath = PerformerStorePath(startDir, StoreEntry::TextFile, performer);
    Lines texts = ReadRecordFile(textsPath).toList();
    progress.textsRead = true;
    replaceTextHeaderAlbum(texts, oldName, newName);
    files.replace(textsPath, JoinRecordLines(texts));

    progress.pictureRenamed = renamePictureIfFree(files, startDir, performer, oldName, newName);
    files.commit();
}

void RenamePerformer(const QString& startDir, QByteArrayView oldName, QByteArrayView newName,
                     const Lines& performers, PerformerRename& progress) {
    // Both names are checked before anything is written.
    PerformerStorePath(startDir, StoreEntry::PerformerFolder, oldName);
    if (fileio::exists(PerformerStorePath(startDir, StoreEntry::PerformerFolder, newName))) {
        progress.folder = PerformerRename::Folder::NewFolderExists;
        return;
    }
    const QString listPath = PerformerStorePath(startDir, StoreEntry::PerformerList);
    fileio::readAll(listPath);

    // The new folder is complete before the list names it, and the old one is emptied only
    // after: whatever step fails, the list names a folder that holds the performer's files.
    Lines list = performers;
    replaceEqualLines(list, oldName, newName);
    FileSetChange change;
    const QString oldFolder = PerformerStorePath(startDir, StoreEntry::PerformerFolder, oldName);
    CopyPerformerFolder(
        change, oldFolder, PerformerStorePath(startDir, StoreEntry::PerformerFolder, newName),
        PictureFilesIn(PerformerStorePath(startDir, StoreEntry::PictureFolder, oldName)));
    change.replaceLast(listPath, JoinRecordLines(list));
    change.commit();
    progress.listChecked = true;
    progress.folder = removeOldPerformerFolder(startDir, oldName)
                          ? PerformerRename::Folder::Carried
                          : PerformerRename::Folder::NotCarried;
    progress.performers = ReadRecordFile(listPath).toList();
    progress.listReadBack = true;
}

void RenameSong(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                QByteArrayView oldName, QByteArrayView newName) {
    const QString songsPath = PerformerStorePath(startDir, StoreEntry::SongList, performer);
    Lines songs = ReadRecordFile(songsPath).toList();
    replaceSongInAlbumBlocks(songs, SongBlockHeader(album), oldName, newName);
    const QString textsPath = PerformerStorePath(startDir, StoreEntry::TextFile, performer);

    // A song listed under its new name whose lyrics kept the old one would have no lyrics.
    FileSetChange files;
    files.replace(songsPath, JoinRecordLines(songs));
    Lines texts = ReadRecordFile(textsPath).toList();
    replaceEqualLines(texts, TextBlockHeader(album, oldName), TextBlockHeader(album, newName));
    files.replaceLast(textsPath, JoinRecordLines(texts));
    files.commit();
}
