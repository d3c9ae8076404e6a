#include "store/PerformerRepository.h"

#include "store/Catalogue.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/SeenFiles.h"
#include "store/StoreError.h"

PerformerRepository::PerformerRepository(QString startDir) : startDir_(std::move(startDir)) {}

QString PerformerRepository::path(StoreEntry kind, QByteArrayView performer,
                                  QByteArrayView album) const {
    return PerformerStorePath(startDir_, kind, performer, album);
}

RecordLines PerformerRepository::readPerformerList() const {
    return RecordLines(fileio::readAll(path(StoreEntry::PerformerList)));
}

LineFile PerformerRepository::read(QByteArrayView performer, StoreEntry file) const {
    return LineFile(fileio::readAll(path(file, performer)));
}

LineFile PerformerRepository::readToEdit(QByteArrayView performer, StoreEntry file) const {
    const QString at = path(file, performer);
    QByteArray bytes = fileio::readAll(at);
    const QByteArray* seen = seen_ ? seen_->bytesSeen(at) : nullptr;
    if (seen && *seen == bytes) return LineFile(std::move(bytes), *seen);
    return LineFile(std::move(bytes));
}

PerformerCatalogue PerformerRepository::load(QByteArrayView performer) const {
    PerformerCatalogue catalogue;
    catalogue.performer = performer.toByteArray();
    catalogue.albumList = read(performer, StoreEntry::AlbumList);
    catalogue.songList = read(performer, StoreEntry::SongList);
    catalogue.textFile = read(performer, StoreEntry::TextFile);
    try {
        catalogue.pictures = PictureFilesIn(path(StoreEntry::PictureFolder, performer));
    } catch (const StoreError&) {
        // a performer without its picture folder has no pictures
    }
    return catalogue;
}

void PerformerRepository::save(FileSetChange& change, const PerformerCatalogue& catalogue,
                               bool last) const {
    const struct {
        StoreEntry kind;
        const LineFile& file;
    } files[] = {{StoreEntry::AlbumList, catalogue.albumList},
                 {StoreEntry::SongList, catalogue.songList},
                 {StoreEntry::TextFile, catalogue.textFile}};
    const LineFile* lastChanged = nullptr;
    for (const auto& f : files)
        if (f.file.changed()) lastChanged = &f.file;
    for (const auto& f : files) {
        if (!f.file.changed()) continue;
        const QString target = path(f.kind, catalogue.performer);
        if (last && &f.file == lastChanged)
            change.replaceLast(target, f.file.bytes(), f.file.asRead());
        else
            change.replace(target, f.file.bytes(), f.file.asRead());
    }
}
