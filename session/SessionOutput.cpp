// What leaves the program other than through Data/: songs and albums for the printer.
#include "session/CatalogueSession.h"
#include "store/FileIo.h"
#include "store/Pictures.h"
#include "store/StoreError.h"

Lines CatalogueSession::SelectedSongText() const {
    return repository_.read(SelectedPerformer(), StoreEntry::TextFile)
        .bodies(TextBlockHeader(SelectedAlbum(), SelectedSong()), kTextBlockEnd);
}

std::vector<CatalogueSession::SongWithText> CatalogueSession::SelectedAlbumTexts() const {
    const QByteArray performer = SelectedPerformer(), album = SelectedAlbum();
    PerformerCatalogue catalogue;
    catalogue.songList = repository_.read(performer, StoreEntry::SongList);
    // One read of the text file for the whole album.
    catalogue.textFile = repository_.read(performer, StoreEntry::TextFile);
    std::vector<SongWithText> songs;
    for (const Line& song : catalogue.songsOf(album))
        songs.push_back({song, catalogue.textOf(album, song)});
    return songs;
}

QByteArray CatalogueSession::SelectedAlbumPicture() const {
    return PerformerAlbumPicture(SelectedAlbum());
}

QList<CatalogueAlbum> CatalogueSession::SelectedPerformerAlbums() const {
    return repository_.load(SelectedPerformer()).walk();
}

QByteArray CatalogueSession::PerformerAlbumPicture(QByteArrayView album) const {
    const QByteArray performer = SelectedPerformer();
    if (!::HasAlbumPicture(StartDir(), performer, album)) return {};
    return fileio::readAll(AlbumPicturePath(StartDir(), performer, album));
}
