#pragma once

#include "store/RecordFile.h"
#include "store/StorePaths.h"

// The readers of the main window. Each opens its file, reads it whole and closes it.
RecordLines LoadPerformerList(const QString& startDir);
RecordLines LoadAlbumList(const QString& startDir, QByteArrayView performer);
Lines LoadSongList(const QString& startDir, QByteArrayView performer, QByteArrayView album);
Lines LoadSongText(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                   QByteArrayView song);

// True when the performer's folder holds data a scan would replace: the first *.lrx file its
// listing yields is not empty. A performer without a folder has no data to lose.
bool PerformerHasData(const QString& startDir, QByteArrayView performer);

class FileSetChange;

// Creates, in this order, the performer folder, its picture folder and the empty files
// Songs.lrx, Albums.lrx, Texts.lrx, each step recorded in `change` to be undone. An existing
// folder is a failure; the first failure stops.
void CreatePerformerFolder(FileSetChange& change, const QString& startDir,
                           QByteArrayView performer);

// Makes sure Data/ and Data/performers.lrx exist, as at start-up: a data folder that cannot
// be made is passed over; a list file that cannot then be created throws.
void EnsurePerformerList(const QString& startDir);

// Removes what saves killed half-way left beside the catalogue's files, as the start-up does
// before anything is read. Only Data/, the performer folders in it and their picture folders
// are looked at (none through a link); a file goes only when it is a plain file named like an
// interrupted save of a line file or album picture that stands beside it. Anything that cannot
// be listed or removed is left as it is. Returns how many files were removed.
int RemoveInterruptedSaves(const QString& startDir);
