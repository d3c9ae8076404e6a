#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "store/Names.h"

// The album picture: Data/{performer}/Image/{album}.jpg, one JPEG file per album. Names arrive
// as the stored Windows-1251 bytes.

// The picture's path; empty when the names cannot form a path inside the picture folder.
QString AlbumPicturePath(const QString& startDir, QByteArrayView performer, QByteArrayView album);

// True when the album's picture file exists (a file, not a folder of that name). A name that
// cannot form a path inside the picture folder has no picture.
bool HasAlbumPicture(const QString& startDir, QByteArrayView performer, QByteArrayView album);

// The check before a picture is stored: the name is storable, the picture's place is not a
// link to somewhere else, and either the picture exists or the performer's picture folder does.
// Nothing is written: an existing picture is kept until its replacement is complete, and a
// folder that refuses the new file says so when the picture is written.
bool CanStoreAlbumPicture(const QString& startDir, QByteArrayView performer, QByteArrayView album);

// Stores the JPEG bytes, unchanged, as the album's picture. An existing picture is replaced
// in one step once the new bytes are completely on disk. Throws StoreNameError for a name
// that IsStorablePictureName refuses, StoreError for a picture that is a link, and on failure.
void StoreAlbumPicture(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                       const QByteArray& jpeg);

// Removes the picture file of the album, never a folder; false when there is no picture file
// to remove. Throws StoreError when the picture is there but cannot be removed.
bool RemoveAlbumPicture(const QString& startDir, QByteArrayView performer, QByteArrayView album);
