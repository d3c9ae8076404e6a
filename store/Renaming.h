#pragma once

#include <QByteArray>
#include <QString>

#include "store/RecordFile.h"

// Giving an album, a performer or a song a new name everywhere the catalogue holds it.
// Names are the stored Windows-1251 bytes. Each rename records in its progress what it has
// done so far, so that the window can show the state of the files also when a step fails
// with StoreError (steps already done stay done).

// Why a new name cannot be taken.
enum class NameProblem {
    None,
    Empty,
    ControlCharacter,  // line ends and other control characters would break the line files
    PathCharacter,     // one of \ / : * ? " < > |, which a folder or file name cannot hold
    DotName,           // "." or "..", which name the folder itself or its parent
    TooLong,           // longer on disk than a file or folder name may be
    EndLine,           // "endalbum" would end the album's song block early
    Duplicate,         // already in the list (exact comparison)
};

NameProblem CheckAlbumName(QByteArrayView name, const Lines& albums);
NameProblem CheckPerformerName(QByteArrayView name, const Lines& performers);
NameProblem CheckSongName(QByteArrayView name, const Lines& songsOfAlbum);

// A performer's new name as it is stored: without its trailing blanks.
QByteArray TrimTrailingBlanks(QByteArray name);

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
// picture takes the new name unless a file of that name exists (a failed picture rename is
// not an error).
void RenameAlbum(const QString& startDir, QByteArrayView performer, QByteArrayView oldName,
                 QByteArrayView newName, AlbumRename& progress);

struct PerformerRename {
    enum class Folder {
        NotTried,
        NewFolderExists,  // refused before anything was written
        Carried,
        NotCarried,  // a step of the carrying failed; what was done before it stays done
    };
    bool listChecked = false;  // the performer list file could be opened
    bool listReadBack = false;
    Lines performers;  // the performer list file as read back
    Folder folder = Folder::NotTried;
};

// Rewrites the performer list file from `performers` with the new name in place of the old
// one, then carries the performer folder over to the new name: new folder and picture folder,
// byte-identical copies of the three line files and of the *.jpg pictures, the old files
// deleted (other picture-folder files are not carried), the old folders removed (never
// recursively). A new folder name that exists already stops the rename before anything is
// written.
void RenamePerformer(const QString& startDir, QByteArrayView oldName, QByteArrayView newName,
                     const Lines& performers, PerformerRename& progress);

// The song's lines inside every song block of its album and its text block headers take the
// new name; songs of other albums keep theirs.
void RenameSong(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                QByteArrayView oldName, QByteArrayView newName);
