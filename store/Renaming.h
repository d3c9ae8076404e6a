#pragma once

#include <QByteArray>
#include <QString>

#include "store/Names.h"
#include "store/RecordFile.h"

// Giving an album, a performer or a song a new name everywhere the catalogue holds it.
// Names are the stored Windows-1251 bytes. Each rename records in its progress what it has
// done, so that the window can show the state of the files also when a step fails with
// StoreError; a rename that fails half-way is undone as far as the file system allows.

struct AlbumRename {
    bool albumListRead = false;
    bool albumListWritten = false;
    Lines albumList;  // the album list file as rewritten
    bool songListRead = false;
    bool textsRead = false;
    bool pictureRenamed = false;
};

// Album list lines equal to the old name, song block headers of the old name and text block
// headers that begin with the old name + " ##-**~" take the new name; then the album's
// picture takes the new name unless there is none or a file of the new name exists. When a
// step fails, the steps done are undone (progress then shows the album list as it is again)
// and StoreError is thrown.
void RenameAlbum(const QString& startDir, QByteArrayView performer, QByteArrayView oldName,
                 QByteArrayView newName, AlbumRename& progress);

struct PerformerRename {
    enum class Folder {
        NotTried,
        NewFolderExists,  // refused before anything was written
        Carried,
        NotCarried,  // renamed, but the old folder could not be removed whole
    };
    bool listChecked = false;  // the performer list file names the performer anew
    bool listReadBack = false;
    Lines performers;  // the performer list file as read back
    Folder folder = Folder::NotTried;
};

// Carries the performer folder over to the new name: new folder and picture folder with
// byte-identical copies of the three line files and of the *.jpg pictures; then rewrites the
// performer list file from `performers` with the new name in place of the old one; then
// deletes the old files (other picture-folder files are not carried) and removes the old
// folders (never recursively). A failure before the list is rewritten removes the copies again
// and throws StoreError: the performer keeps the old name. A new folder name that exists
// already stops the rename before anything is written.
void RenamePerformer(const QString& startDir, QByteArrayView oldName, QByteArrayView newName,
                     const Lines& performers, PerformerRename& progress);

// The song's lines inside every song block of its album and its text block headers take the
// new name; songs of other albums keep theirs. Both files or neither: a failed text file
// write puts the song list's old bytes back.
void RenameSong(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                QByteArrayView oldName, QByteArrayView newName);
