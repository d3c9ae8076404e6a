#include "store/Catalogue.h"

#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/StoreError.h"

RecordLines LoadPerformerList(const QString& startDir) {
    return ReadRecordFile(PerformerStorePath(startDir, StoreEntry::PerformerList));
}

RecordLines LoadAlbumList(const QString& startDir, QByteArrayView performer) {
    return ReadRecordFile(PerformerStorePath(startDir, StoreEntry::AlbumList, performer));
}

Lines LoadSongList(const QString& startDir, QByteArrayView performer, QByteArrayView album) {
    return CollectBlockBodies(
        ReadRecordFile(PerformerStorePath(startDir, StoreEntry::SongList, performer)),
        SongBlockHeader(album), kSongBlockEnd);
}

Lines LoadSongText(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                   QByteArrayView song) {
    return CollectBlockBodies(
        ReadRecordFile(PerformerStorePath(startDir, StoreEntry::TextFile, performer)),
        TextBlockHeader(album, song), kTextBlockEnd);
}

void CreatePerformerFolder(FileSetChange& change, const QString& startDir,
                           QByteArrayView performer) {
    change.makeDir(PerformerStorePath(startDir, StoreEntry::PerformerFolder, performer));
    change.makeDir(PerformerStorePath(startDir, StoreEntry::PictureFolder, performer));
    for (StoreEntry file : {StoreEntry::SongList, StoreEntry::AlbumList, StoreEntry::TextFile})
        change.createNew(PerformerStorePath(startDir, file, performer));
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
