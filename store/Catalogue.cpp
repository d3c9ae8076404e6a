#include "store/Catalogue.h"

#include "store/ConflictCopies.h"

#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/Names.h"
#include "store/StoreError.h"

namespace {

using TargetTest = bool (*)(const QString& name);

bool IsDataFolderFile(const QString& name) {
    return name == kPerformerListName || name == kSettingsName;
}

bool IsPerformerFile(const QString& name) {
    return name == kAlbumListName || name == kSongListName || name == kTextFileName;
}

bool IsPlainFile(const QString& path) {
    return fileio::isFile(path) && !fileio::isSymLink(path);
}

bool IsRealFolder(const QString& path) {
    return fileio::isDir(path) && !fileio::isSymLink(path);
}

QStringList ListOrNothing(const QString& folder, int what) {
    try {
        return fileio::listDir(folder, what | int(fileio::Listing::Hidden));
    } catch (const StoreError&) {
        return {};
    }
}

int RemoveInterruptedSavesIn(const QString& folder, TargetTest isOurs) {
    int removed = 0;
    for (const QString& name : ListOrNothing(folder, int(fileio::Listing::Files))) {
        const QString target = fileio::interruptedSaveTarget(name);
        if (target.isEmpty() || !isOurs(target)) continue;
        const QString path = folder + u'/' + name;
        if (!IsPlainFile(path) || !IsPlainFile(folder + u'/' + target)) continue;
        try {
            fileio::removeFile(path);
            ++removed;
        } catch (const StoreError&) {
            // Left behind; the next start tries again.
        }
    }
    return removed;
}

}  // namespace

void CreatePerformerFolder(FileSetChange& change, const QString& startDir,
                           QByteArrayView performer) {
    change.makeDir(PerformerStorePath(startDir, StoreEntry::PerformerFolder, performer));
    change.makeDir(PerformerStorePath(startDir, StoreEntry::PictureFolder, performer));
    for (StoreEntry file : {StoreEntry::SongList, StoreEntry::AlbumList, StoreEntry::TextFile})
        change.createNew(PerformerStorePath(startDir, file, performer));
}

QStringList PictureFilesIn(const QString& pictureFolder) {
    QStringList pictures =
        fileio::listDir(pictureFolder, int(fileio::Listing::Files) | int(fileio::Listing::Hidden));
    pictures.removeIf([](const QString& name) { return !IsPictureFileName(name); });
    return pictures;
}

void CopyPerformerFolder(FileSetChange& change, const QString& from, const QString& to,
                         const QStringList& pictures) {
    const QString toPictures = to + u'/' + kPictureFolderName + u'/';
    const QString fromPictures = from + u'/' + kPictureFolderName + u'/';
    change.makeDir(to);
    change.makeDir(toPictures.chopped(1));
    for (StoreEntry file : kPerformerLineFiles) {
        const QString name = u'/' + PerformerEntryName(file);
        change.copyNew(from + name, to + name);
    }
    for (const QString& picture : pictures)
        change.copyNew(fromPictures + picture, toPictures + picture);
}

std::optional<StoreError> RemoveFilesIn(const QString& folder) {
    QStringList names;
    try {
        names = fileio::listDir(folder, int(fileio::Listing::Files) | int(fileio::Listing::Hidden));
    } catch (const StoreError& e) {
        return e;
    }
    std::optional<StoreError> firstFailure;
    for (const QString& name : names) {
        try {
            fileio::removeFile(folder + u'/' + name);
        } catch (const StoreError& e) {
            if (!firstFailure) firstFailure = e;
        }
    }
    return firstFailure;
}

bool RemoveFolderThrough(FileSetChange& change, const QString& folder) {
    QStringList names;
    try {
        names = fileio::listDir(folder, int(fileio::Listing::Files) | int(fileio::Listing::Hidden));
    } catch (const StoreError&) {
        // what cannot be listed cannot be emptied; the folder's removal says so
    }
    for (const QString& name : names) {
        try {
            change.remove(folder + u'/' + name);
        } catch (const StoreError&) {
            // it stays, and the folder with it
        }
    }
    try {
        change.removeDir(folder);
    } catch (const StoreError&) {
        return false;
    }
    return true;
}

void EnsurePerformerList(const QString& startDir) {
    const QString listPath = PerformerStorePath(startDir, StoreEntry::PerformerList);
    if (fileio::isFile(listPath)) return;
    try {
        fileio::makeDir(PerformerStorePath(startDir, StoreEntry::DataFolder));
    } catch (const StoreError&) {
        // An existing or unmakeable data folder shows up when the list file is created.
    }
    WriteRecordFile(listPath, {});
}

int RemoveInterruptedSaves(const QString& startDir) {
    const QString data = PerformerStorePath(startDir, StoreEntry::DataFolder);
    if (!IsRealFolder(data)) return 0;
    int removed = RemoveInterruptedSavesIn(data, IsDataFolderFile);
    for (const QString& name : ListOrNothing(data, int(fileio::Listing::Dirs))) {
        const QString performer = data + u'/' + name;
        if (!IsRealFolder(performer)) continue;
        removed += RemoveInterruptedSavesIn(performer, IsPerformerFile);
        const QString pictures = performer + u'/' + kPictureFolderName;
        if (IsRealFolder(pictures))
            removed += RemoveInterruptedSavesIn(pictures, IsPictureFileName);
    }
    return removed;
}

bool PerformerHasData(const QString& startDir, QByteArrayView performer) {
    try {
        const QString folder = PerformerStorePath(startDir, StoreEntry::PerformerFolder, performer);
        for (const QString& name :
             fileio::listDir(folder, int(fileio::Listing::Files) | int(fileio::Listing::Hidden)))
            if (name.endsWith(QStringLiteral(".lrx"), Qt::CaseInsensitive) &&
                !IsSyncConflictCopy(name))
                return fileio::fileSize(folder + u'/' + name) > 0;
    } catch (const StoreError&) {
        // A performer without a folder has no data to lose.
    }
    return false;
}
