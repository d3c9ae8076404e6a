#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "store/RecordFile.h"

class FileSetChange;

// Bringing one performer's catalogue in from another copy's data folder (the base folder:
// the performer's folder inside that copy). Window-free; every file call goes through fileio.

// The name the new performer takes: the base folder's last path component, "New" when the
// path ends with a separator (a root).
QString BaseFolderPerformerName(const QString& baseFolder);

// True when each of the base folder's three record files can be opened for reading.
bool BaseFolderHoldsCatalogue(const QString& baseFolder);

// Why a folder name cannot be a performer name of this catalogue.
enum class BaseNameFault { None, UnsafeName, Unencodable };
struct BaseName {
    QByteArray bytes;  // Windows-1251, as the performer list stores it
    BaseNameFault fault = BaseNameFault::None;
    QString unencodable;  // the characters Windows-1251 cannot hold
};
// The name loses its trailing blanks, as every performer name does. Refuses what
// IsStorablePerformerName refuses (path characters, ".", "..", control characters such as NUL
// or a line end, a name too long for a folder, nothing left) and characters outside
// Windows-1251.
BaseName EncodeBasePerformerName(const QString& name);

// True when the base folder is this catalogue's own folder of that performer: importing it
// would delete the very files it is to copy.
bool IsOwnPerformerFolder(const QString& startDir, const QString& baseFolder,
                          QByteArrayView performer);

// What an import got to, for the window's messages; filled also when it throws.
struct BaseImportProgress {
    enum class Stage {
        Copying,  // folders and files
        Listing,  // the performer list file
        Done,
    };
    Stage stage = Stage::Copying;
    // The replaced performer's old data was not as the program leaves it: its folder was
    // missing (the import then makes it anew), or it lacked its picture folder or held more
    // than the three record files and pictures (nothing is written then).
    bool oldDataNotRemovable = false;
};

// Brings the base folder's three record files and its *.jpg pictures (extension in any letter
// case; other files are not carried) in as the performer's, then rewrites the performer list
// file from `performers` followed by the performer (unless already listed), every step one of
// `change`. The list is written last, so a failure before it, undone by the change, leaves the
// list naming no folder that is not whole, and a replaced performer keeps all its old files.
// A performer already listed is replaced in its own folder: its files are overwritten one by
// one and its old pictures that the base does not hold are deleted, each step undoable until
// the list is written. When its old data is not as the program leaves it (deleting it to copy
// anew would stop half-way, after the lyrics), nothing is written and StoreError is thrown.
void ImportPerformerBase(FileSetChange& change, const QString& startDir, const QString& baseFolder,
                         const Lines& performers, QByteArrayView performer,
                         BaseImportProgress& progress);
