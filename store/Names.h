#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "store/RecordFile.h"

// The rules for the names a user gives performers, albums and songs. Names are the stored
// Windows-1251 bytes.

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

// A performer name as it is checked and stored: trailing blanks (character 32 only) removed.
Line WithoutTrailingBlanks(QByteArrayView name);

// True when the name can become a performer folder: not empty, not "." or "..", free of the
// nine path characters and of control characters (NUL, line ends), and not longer on disk
// than a folder name may be.
bool IsStorablePerformerName(QByteArrayView name);

// Whether an album name can name its picture file: not "." or "..", and none of the nine
// path characters nor NUL (Windows refuses them in file names, and "/" would leave the picture
// folder), and short enough for a file name with ".jpg". Such an album can still be listed;
// it just cannot have a picture stored.
bool IsStorablePictureName(QByteArrayView album);

// A file of a picture folder that is an album picture: its name ends with ".jpg" in any case.
bool IsPictureFileName(const QString& fileName);
