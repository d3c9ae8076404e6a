// What leaves the program other than through Data/: songs and albums for the printer, and a
// performer exported as a folder of text files.
#include "import/PerformerExport.h"
#include "session/CatalogueSession.h"
#include "store/Catalogue.h"
#include "store/FileIo.h"
#include "store/Pictures.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

Lines CatalogueSession::SelectedSongText() const {
    return LoadSongText(startDir_, SelectedPerformer(), SelectedAlbum(), SelectedSong());
}

std::vector<CatalogueSession::SongWithText> CatalogueSession::SelectedAlbumTexts() const {
    const QByteArray performer = SelectedPerformer(), album = SelectedAlbum();
    // One read of the text file for the whole album.
    const RecordLines texts =
        ReadRecordFile(PerformerStorePath(startDir_, StoreEntry::TextFile, performer));
    std::vector<SongWithText> songs;
    for (const Line& song : LoadSongList(startDir_, performer, album))
        songs.push_back(
            {song, CollectBlockBodies(texts, TextBlockHeader(album, song), kTextBlockEnd)});
    return songs;
}

QByteArray CatalogueSession::SelectedAlbumPicture() const {
    const QByteArray performer = SelectedPerformer(), album = SelectedAlbum();
    if (!::HasAlbumPicture(startDir_, performer, album)) return {};
    return fileio::readAll(AlbumPicturePath(startDir_, performer, album));
}

void CatalogueSession::ExportPerformer(const QString& folder, Feedback& feedback) const {
    try {
        feedback.inform(ExportReport(::ExportPerformer(startDir_, SelectedPerformer(), folder)));
    } catch (const ExportRefused& e) {
        feedback.message(MsgKind::Warning, e.message());
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
}
