#include "store/Renaming.h"

#include <algorithm>
#include <cstring>

#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

namespace {

bool holdsControlCharacter(QByteArrayView name) {
    return std::any_of(name.begin(), name.end(), [](char c) { return uchar(c) < 0x20; });
}

// The nine path characters are ASCII, and Windows-1251 keeps ASCII as it is.
bool holdsPathCharacter(QByteArrayView name) {
    return std::any_of(name.begin(), name.end(),
                       [](char c) { return c != '\0' && std::strchr(kPathCharacters, c); });
}

bool isDotName(QByteArrayView name) {
    return name == "." || name == "..";
}

bool isListed(QByteArrayView name, const Lines& list) {
    return std::any_of(list.begin(), list.end(), [&](const Line& line) { return line == name; });
}

// The checks shared by the names that become folder or file names; `suffix` is what the
// file name adds to the name (".jpg").
NameProblem checkPathName(QByteArrayView name, const Lines& list, qsizetype suffix) {
    if (name.isEmpty()) return NameProblem::Empty;
    if (holdsControlCharacter(name)) return NameProblem::ControlCharacter;
    if (holdsPathCharacter(name)) return NameProblem::PathCharacter;
    if (isDotName(name)) return NameProblem::DotName;
    if (!FitsNameLimit(name, suffix)) return NameProblem::TooLong;
    if (isListed(name, list)) return NameProblem::Duplicate;
    return NameProblem::None;
}

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

const StoreEntry kLineFiles[] = {StoreEntry::AlbumList, StoreEntry::SongList, StoreEntry::TextFile};

bool isJpegName(const QString& fileName) {
    return fileName.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive);
}

QStringList picturesFolderFiles(const QString& folder) {
    return fileio::listDir(folder, int(fileio::Listing::Files) | int(fileio::Listing::Hidden));
}

// Copies the performer's line files and *.jpg pictures into the new folder; the old folder
// is not touched yet.
void copyPerformerFolder(FileSetChange& change, const QString& startDir, QByteArrayView oldName,
                         QByteArrayView newName) {
    const auto oldPath = [&](StoreEntry e) { return PerformerStorePath(startDir, e, oldName); };
    const auto newPath = [&](StoreEntry e) { return PerformerStorePath(startDir, e, newName); };
    change.makeDir(newPath(StoreEntry::PerformerFolder));
    change.makeDir(newPath(StoreEntry::PictureFolder));
    for (StoreEntry file : kLineFiles) change.copyNew(oldPath(file), newPath(file));
    const QString oldPictures = oldPath(StoreEntry::PictureFolder) + u'/';
    const QString newPictures = newPath(StoreEntry::PictureFolder) + u'/';
    for (const QString& name : picturesFolderFiles(oldPictures))
        if (isJpegName(name)) change.copyNew(oldPictures + name, newPictures + name);
}

// Deletes the old line files and every file of the old picture folder (the pictures have
// their copies, other files are not carried), then the two old folders. False when a folder
// is left.
bool removeOldPerformerFolder(const QString& startDir, QByteArrayView oldName) {
    const auto oldPath = [&](StoreEntry e) { return PerformerStorePath(startDir, e, oldName); };
    for (StoreEntry file : kLineFiles) removeFileQuietly(oldPath(file));
    const QString oldPictures = oldPath(StoreEntry::PictureFolder) + u'/';
    try {
        for (const QString& name : picturesFolderFiles(oldPictures))
            removeFileQuietly(oldPictures + name);
        fileio::removeDir(oldPath(StoreEntry::PictureFolder));
        fileio::removeDir(oldPath(StoreEntry::PerformerFolder));
    } catch (const StoreError&) {
        return false;
    }
    return true;
}

}  // namespace

NameProblem CheckAlbumName(QByteArrayView name, const Lines& albums) {
    // The album's name is carried into its picture's file name.
    return checkPathName(name, albums, qsizetype(sizeof(".jpg") - 1));
}

NameProblem CheckPerformerName(QByteArrayView name, const Lines& performers) {
    return checkPathName(name, performers, 0);
}

NameProblem CheckSongName(QByteArrayView name, const Lines& songsOfAlbum) {
    if (name.isEmpty()) return NameProblem::Empty;
    if (holdsControlCharacter(name)) return NameProblem::ControlCharacter;
    if (name == kSongBlockEnd) return NameProblem::EndLine;
    if (isListed(name, songsOfAlbum)) return NameProblem::Duplicate;
    return NameProblem::None;
}

QByteArray TrimTrailingBlanks(QByteArray name) {
    while (name.endsWith(' ')) name.chop(1);
    return name;
}

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
    try {
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
    } catch (const StoreError&) {
        if (files.rollBack()) {
            progress.albumListWritten = false;
            progress.albumList = oldAlbums;
        }
        throw;
    }
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
    try {
        copyPerformerFolder(change, startDir, oldName, newName);
        change.replaceLast(listPath, JoinRecordLines(list));
    } catch (const StoreError&) {
        change.rollBack();
        throw;
    }
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
    try {
        files.replace(songsPath, JoinRecordLines(songs));
        Lines texts = ReadRecordFile(textsPath).toList();
        replaceEqualLines(texts, TextBlockHeader(album, oldName), TextBlockHeader(album, newName));
        files.replaceLast(textsPath, JoinRecordLines(texts));
    } catch (const StoreError&) {
        files.rollBack();
        throw;
    }
}
