#pragma once

#include <QStringList>
#include <optional>

#include "store/RecordFile.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

// The folders of the catalogue: making, copying and removing them, and the start-up's care
// of the data folder. Names are the stored Windows-1251 bytes.

// True when the performer's folder holds data a scan would replace: the first *.lrx file its
// listing yields is not empty. A performer without a folder has no data to lose.
bool PerformerHasData(const QString& startDir, QByteArrayView performer);

class FileSetChange;

// Creates, in this order, the performer folder, its picture folder and the empty files
// Songs.lrx, Albums.lrx, Texts.lrx, each step recorded in `change` to be undone. An existing
// folder is a failure; the first failure stops.
void CreatePerformerFolder(FileSetChange& change, const QString& startDir,
                           QByteArrayView performer);

// The album pictures directly in a picture folder (".jpg" in any case), in listing order.
// Throws StoreError when the folder cannot be listed.
QStringList PictureFilesIn(const QString& pictureFolder);

// Makes the performer folder `to` and its picture folder, then copies into them, byte for
// byte, the three line files of the performer folder `from` and the named files of its picture
// folder; each step recorded in `change` to be undone. The first failure stops.
void CopyPerformerFolder(FileSetChange& change, const QString& from, const QString& to,
                         const QStringList& pictures);

// Deletes each file directly in the folder (never recursively); sub-folders and files that will
// not go stay. Returns the first failure, that of listing the folder included.
std::optional<StoreError> RemoveFilesIn(const QString& folder);
// The same as steps of a change (each file's bytes kept), then the folder itself; false when
// the folder stays (it could not be listed, or something in it would not go).
bool RemoveFolderThrough(FileSetChange& change, const QString& folder);

// Makes sure Data/ and Data/performers.lrx exist, as at start-up: a data folder that cannot
// be made is passed over; a list file that cannot then be created throws.
void EnsurePerformerList(const QString& startDir);

// Removes what saves killed half-way left beside the catalogue's files, as the start-up does
// before anything is read. Only Data/, the performer folders in it and their picture folders
// are looked at (none through a link); a file goes only when it is a plain file named like an
// interrupted save of a line file or album picture that stands beside it. Anything that cannot
// be listed or removed is left as it is. Returns how many files were removed.
int RemoveInterruptedSaves(const QString& startDir);
