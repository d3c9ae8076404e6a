// The session's commands that bring songs in: the scanner and the import from another copy.
#include <optional>

#include "import/BaseImport.h"
#include "import/SongScan.h"
#include "session/CatalogueSession.h"
#include "store/StoreError.h"

namespace {
const QString kReplaced = QStringLiteral(
    "Символы, которых нет в кодировке Windows-1251, сохранены как знак \"?\" в песнях:");
}  // namespace

// The new albums are listed with none selected; songs, text and pictures of the old
// catalogue are gone from view.
bool CatalogueSession::Scan(const QByteArray& performer, const QString& scanFolder,
                            Feedback& feedback) {
    ScanOutcome outcome;
    try {
        outcome = ScanSongsIntoPerformer(startDir_, performer, scanFolder);
    } catch (const ScanRefused& refused) {
        feedback.message(MsgKind::Warning, refused.message());
        return false;
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return false;
    }
    setAlbums(outcome.albums);
    emit pictureHidden();
    setSongs({});
    emit songTextChanged({});
    emit performerFilesChanged(performer);
    if (!outcome.replacedCharacters.isEmpty())
        feedback.message(MsgKind::Warning,
                         kReplaced + u'\r' + outcome.replacedCharacters.join(u'\r'));
    if (!outcome.picturesLeft.isEmpty()) feedback.errorReport(outcome.picturesLeft);
    return true;
}

bool CatalogueSession::ImportPerformer(const QString& baseFolder, const QByteArray& performer,
                                       Feedback& feedback) {
    const Lines performers = performers_;
    setAlbums({});
    setPerformers({});
    setSongs({});
    emit songTextChanged({});
    emit pictureHidden();
    emit pictureCaptionChanged(QStringLiteral("Картинка:"));

    BaseImportProgress progress;
    std::optional<StoreError> failure;
    try {
        ImportPerformerBase(startDir_, baseFolder, performers, performer, progress);
    } catch (const StoreError& e) {
        failure = e;
    }
    if (progress.oldDataNotRemovable)
        feedback.message(MsgKind::Error,
                         QStringLiteral("Возникли ошибки при удалении старых данных исполнителя."));
    if (failure && progress.stage != BaseImportProgress::Stage::Copying) {
        // The list file may or may not name the performer now: the list is what it holds.
        restorePerformerList(performers, -1);
        if (progress.stage == BaseImportProgress::Stage::ReadingBack)
            emit performerFilesChanged(performer);
        feedback.errorReport(failure->description());
        return false;
    }
    // A failed copy has been undone: the list is as it was.
    setPerformers(failure ? performers : progress.performers);
    if (failure) {
        feedback.message(MsgKind::Error,
                         QStringLiteral("Возникли ошибки при добавлении автора из базы. Возможно "
                                        "не все данные были перенесены."));
        return true;
    }
    emit performerFilesChanged(performer);
    return true;
}
