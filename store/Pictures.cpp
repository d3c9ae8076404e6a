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

}  // namespace

QString AlbumPicturePath(const QString& startDir, QByteArrayView performer, QByteArrayView album) {
    try {
        return PerformerStorePath(startDir, StoreEntry::AlbumPicture, performer, album);
    } catch (const StoreNameError&) {
        return QString();
    }
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
    // Whether the folder takes the file shows when it is written: a trial file would stay
    // behind, empty, if the disk failed between creating and removing it.
    return !fileio::exists(path) &&
           fileio::isDir(PerformerStorePath(startDir, StoreEntry::PictureFolder, performer));
}

void StoreAlbumPicture(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                       const QByteArray& jpeg) {
    fileio::writeAtomic(storablePicturePath(startDir, performer, album), jpeg);
}

bool RemoveAlbumPicture(const QString& startDir, QByteArrayView performer, QByteArrayView album) {
    const QString path = AlbumPicturePath(startDir, performer, album);
    if (path.isEmpty() || !(fileio::isFile(path) || fileio::isSymLink(path))) return false;
    fileio::removeFile(path);
    return true;
}
