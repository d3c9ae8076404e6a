#include "store/Pictures.h"

#include <cerrno>

#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

namespace {

// A picture that is a link to a file elsewhere is not written through: whatever it points at
// lies outside the picture folder.
QString storablePicturePath(const QString& startDir, QByteArrayView performer,
                            QByteArrayView album) {
    if (!IsStorablePictureName(album)) throw StoreNameError(cp1251::decode(album));
    const QString path = PerformerStorePath(startDir, StoreEntry::AlbumPicture, performer, album);
    if (fileio::isSymLink(path)) throw StoreError(ELOOP, path);
    return path;
}

// Creating the file proves the folder takes it; removing it again leaves no empty picture
// behind when the picture itself then cannot be written.
bool probeNewFile(const QString& path) {
    try {
        fileio::createNewFile(path);
    } catch (const StoreError&) {
        return false;
    }
    try {
        fileio::removeFile(path);
    } catch (const StoreError&) {
        // An empty file is left; the picture's own write replaces it.
    }
    return true;
}

}  // namespace

QString AlbumPicturePath(const QString& startDir, QByteArrayView performer, QByteArrayView album) {
    try {
        return PerformerStorePath(startDir, StoreEntry::AlbumPicture, performer, album);
    } catch (const StoreNameError&) {
        return QString();
    }
}

bool IsStorablePictureName(QByteArrayView album) {
    if (album == "." || album == ".." || album.contains('\0')) return false;
    for (const char c : album)
        if (IsPathCharacter(QLatin1Char(c))) return false;
    return true;
}

bool HasAlbumPicture(const QString& startDir, QByteArrayView performer, QByteArrayView album) {
    const QString path = AlbumPicturePath(startDir, performer, album);
    return !path.isEmpty() && fileio::isFile(path);
}

bool CanStoreAlbumPicture(const QString& startDir, QByteArrayView performer, QByteArrayView album) {
    QString path;
    try {
        path = storablePicturePath(startDir, performer, album);
    } catch (const StoreError&) {
        return false;
    }
    if (fileio::isFile(path)) return true;
    return probeNewFile(path);
}

void StoreAlbumPicture(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                       const QByteArray& jpeg) {
    fileio::writeAtomic(storablePicturePath(startDir, performer, album), jpeg);
}

bool RemoveAlbumPicture(const QString& startDir, QByteArrayView performer, QByteArrayView album) {
    const QString path = AlbumPicturePath(startDir, performer, album);
    if (path.isEmpty()) return false;
    try {
        fileio::removeFile(path);
    } catch (const StoreError&) {
        return false;
    }
    return true;
}
