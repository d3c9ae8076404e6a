#include "import/BaseImport.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#include "store/Catalogue.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/Names.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

namespace {

const QString kRecordFiles[] = {kAlbumListName, kSongListName, kTextFileName};
const QString& kPictureFolder = kPictureFolderName;

QString inFolder(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

const int kEveryEntry =
    int(fileio::Listing::Files) | int(fileio::Listing::Dirs) | int(fileio::Listing::Hidden);

// A link in place of a file or folder may lead anywhere: nothing is deleted through it.
bool isPlainFolder(const QString& path) {
    return !fileio::isSymLink(path) && fileio::isDir(path);
}

bool isRecordFileName(const QString& name) {
    return std::find(std::begin(kRecordFiles), std::end(kRecordFiles), name) !=
           std::end(kRecordFiles);
}

enum class OldData { Missing, Replaceable, NotReplaceable };

// The old data can be replaced file by file when it is what the program leaves in a performer
// folder: a plain folder holding the three record files (or some of them) and a picture folder
// of plain files. Anything else is left as it is: deleting the old data and copying anew would
// have stopped at it after the lyrics were gone.
OldData inspectOldData(const QString& folder) {
    if (!fileio::exists(folder)) return OldData::Missing;
    const QString pictures = inFolder(folder, kPictureFolder);
    if (!isPlainFolder(folder) || !isPlainFolder(pictures)) return OldData::NotReplaceable;
    try {
        for (const QString& entry : fileio::listDir(folder, kEveryEntry))
            if (entry != kPictureFolder &&
                (!isRecordFileName(entry) || fileio::isDir(inFolder(folder, entry))))
                return OldData::NotReplaceable;
        for (const QString& entry : fileio::listDir(pictures, kEveryEntry))
            if (fileio::isSymLink(inFolder(pictures, entry)) ||
                fileio::isDir(inFolder(pictures, entry)))
                return OldData::NotReplaceable;
    } catch (const StoreError&) {
        return OldData::NotReplaceable;
    }
    return OldData::Replaceable;
}

// The *.jpg entries of the base's picture folder, in listing order; none without the folder.
QStringList basePictures(const QString& baseFolder) {
    const QString folder = inFolder(baseFolder, kPictureFolder);
    return fileio::isDir(folder) ? PictureFilesIn(folder) : QStringList();
}

// An old file keeps its bytes for the undo until the list is written.
void overwriteWith(FileSetChange& change, const QString& from, const QString& to) {
    if (fileio::exists(to))
        change.replace(to, fileio::readAll(from));
    else
        change.copyNew(from, to);
}

// Puts the base's files over the old performer's: the pictures first, so that lyrics are
// the last to change, then the three record files.
void overwriteOldFolder(FileSetChange& change, const QString& baseFolder, const QString& folder) {
    const QString pictures = inFolder(folder, kPictureFolder);
    const QString from = inFolder(baseFolder, kPictureFolder);
    const QStringList incoming = basePictures(baseFolder);
    for (const QString& old : fileio::listDir(pictures, kEveryEntry))
        if (!incoming.contains(old)) change.remove(inFolder(pictures, old));
    for (const QString& picture : incoming)
        overwriteWith(change, inFolder(from, picture), inFolder(pictures, picture));
    for (const QString& file : kRecordFiles)
        overwriteWith(change, inFolder(baseFolder, file), inFolder(folder, file));
}

Lines withPerformer(Lines names, QByteArrayView performer) {
    if (!names.contains(performer.toByteArray())) names.append(performer.toByteArray());
    return names;
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

void ImportPerformerBase(FileSetChange& change, const QString& startDir, const QString& baseFolder,
                         const Lines& performers, QByteArrayView performer,
                         BaseImportProgress& progress) {
    const QString folder = PerformerStorePath(startDir, StoreEntry::PerformerFolder, performer);
    const QString listPath = PerformerStorePath(startDir, StoreEntry::PerformerList);
    const bool replacing = performers.contains(performer.toByteArray());
    const OldData old = replacing ? inspectOldData(folder) : OldData::Missing;
    progress.oldDataNotRemovable = replacing && old != OldData::Replaceable;
    if (old == OldData::NotReplaceable) throw StoreError(ENOTEMPTY, folder);

    progress.stage = BaseImportProgress::Stage::Copying;
    if (old == OldData::Replaceable)
        overwriteOldFolder(change, baseFolder, folder);
    else
        CopyPerformerFolder(change, baseFolder, folder, basePictures(baseFolder));
    progress.stage = BaseImportProgress::Stage::Listing;
    change.replaceLast(listPath, JoinRecordLines(withPerformer(performers, performer)));
    progress.stage = BaseImportProgress::Stage::Done;
}
