#include "import/BaseImport.h"

#include <QFileInfo>

#include "store/Cp1251.h"
#include "store/Editing.h"
#include "store/FileIo.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

namespace {

const QString kRecordFiles[] = {QStringLiteral("Albums.lrx"), QStringLiteral("Songs.lrx"),
                                QStringLiteral("Texts.lrx")};

QString inFolder(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// A symbolic link in place of a performer's folder may point anywhere; deleting through it
// could reach files that are not the performer's.
bool isLink(const QString& path) {
    return QFileInfo(path).isSymLink();
}

void removeFileIgnoringFailure(const QString& path) {
    try {
        fileio::removeFile(path);
    } catch (const StoreError&) {
        // A file that cannot be deleted is left; the folder removal then reports it.
    }
}

void removePictureFiles(const QString& pictureFolder) {
    QStringList entries;
    try {
        entries = fileio::listDir(pictureFolder, int(fileio::Listing::Files) |
                                                     int(fileio::Listing::Dirs) |
                                                     int(fileio::Listing::Hidden));
    } catch (const StoreError&) {
        return;
    }
    for (const QString& entry : entries) removeFileIgnoringFailure(inFolder(pictureFolder, entry));
}

bool removeFolder(const QString& path) {
    try {
        fileio::removeDir(path);
        return true;
    } catch (const StoreError&) {
        return false;
    }
}

}  // namespace

QString BaseFolderPerformerName(const QString& baseFolder) {
    const QString name = baseFolder.mid(baseFolder.lastIndexOf(u'/') + 1);
    return name.isEmpty() ? QStringLiteral("New") : name;
}

bool BaseFolderHoldsCatalogue(const QString& baseFolder) {
    try {
        for (const QString& file : kRecordFiles) fileio::readAll(inFolder(baseFolder, file));
    } catch (const StoreError&) {
        return false;
    }
    return true;
}

BaseName EncodeBasePerformerName(const QString& name) {
    BaseName result;
    const cp1251::Encoded encoded = cp1251::encode(name);
    if (!encoded.ok()) {
        result.fault = BaseNameFault::Unencodable;
        result.unencodable = encoded.unencodable;
    } else if (const QByteArray trimmed = WithoutTrailingBlanks(encoded.bytes);
               !IsStorablePerformerName(trimmed)) {
        result.fault = BaseNameFault::UnsafeName;
    } else {
        result.bytes = trimmed;
    }
    return result;
}

bool IsOwnPerformerFolder(const QString& startDir, const QString& baseFolder,
                          QByteArrayView performer) {
    const QString own =
        QFileInfo(PerformerStorePath(startDir, StoreEntry::PerformerFolder, performer))
            .canonicalFilePath();
    return !own.isEmpty() && own == QFileInfo(baseFolder).canonicalFilePath();
}

bool DeleteOldPerformerData(const QString& startDir, QByteArrayView performer) {
    const QString folder = PerformerStorePath(startDir, StoreEntry::PerformerFolder, performer);
    if (isLink(folder)) return false;
    for (StoreEntry file : {StoreEntry::AlbumList, StoreEntry::SongList, StoreEntry::TextFile})
        removeFileIgnoringFailure(PerformerStorePath(startDir, file, performer));
    const QString pictures = PerformerStorePath(startDir, StoreEntry::PictureFolder, performer);
    if (isLink(pictures)) return false;
    removePictureFiles(pictures);
    return removeFolder(pictures) && removeFolder(folder);
}

RecordLines RewritePerformerListWith(const QString& startDir, const Lines& entries,
                                     QByteArrayView performer) {
    Lines names = entries;
    if (!names.contains(performer.toByteArray())) names.append(performer.toByteArray());
    const QString listPath = PerformerStorePath(startDir, StoreEntry::PerformerList);
    WriteRecordFile(listPath, names);
    return ReadRecordFile(listPath);
}

void CopyPerformerBase(const QString& startDir, const QString& baseFolder,
                       QByteArrayView performer) {
    const QString folder = PerformerStorePath(startDir, StoreEntry::PerformerFolder, performer);
    const QString pictures = PerformerStorePath(startDir, StoreEntry::PictureFolder, performer);
    fileio::makeDir(folder);
    fileio::makeDir(pictures);
    for (const QString& file : kRecordFiles)
        fileio::copyNew(inFolder(baseFolder, file), inFolder(folder, file));

    const QString basePictures = inFolder(baseFolder, QStringLiteral("Image"));
    if (!fileio::isDir(basePictures)) return;
    const QStringList entries =
        fileio::listDir(basePictures, int(fileio::Listing::Files) | int(fileio::Listing::Hidden));
    for (const QString& entry : entries)
        if (entry.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive))
            fileio::copyNew(inFolder(basePictures, entry), inFolder(pictures, entry));
}
