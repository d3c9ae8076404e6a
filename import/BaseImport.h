#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "store/RecordFile.h"

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

// Deletes an existing performer's data before it is replaced: its three record files, the
// files of its picture folder, then the picture folder and the performer folder, none of them
// recursively and nothing through a symbolic link. False when one of the two folders could
// not be removed (the rest is still tried as far as it goes).
bool DeleteOldPerformerData(const QString& startDir, QByteArrayView performer);

// Rewrites the performer list file from the listed entries followed by the performer (unless
// already listed) and reads it back. Throws StoreError.
RecordLines RewritePerformerListWith(const QString& startDir, const Lines& entries,
                                     QByteArrayView performer);

// Creates the performer folder and its picture folder and copies the three record files and
// every *.jpg picture (extension in any letter case) byte for byte. Throws StoreError at the
// first failure; what was done before stays.
void CopyPerformerBase(const QString& startDir, const QString& baseFolder,
                       QByteArrayView performer);
