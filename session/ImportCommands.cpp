#include "session/ImportCommands.h"

#include "import/PerformerExport.h"
#include "session/CatalogueSession.h"
#include "store/Cp1251.h"
#include "store/FileSetChange.h"
#include "store/PerformerRepository.h"
#include "store/StoreError.h"

// ---------------------------------------------------------------- scan

std::optional<Notice> ScanFolderProblem(const QString& scanFolder) {
    if (scanFolder.isEmpty()) return Notice{NoticeId::ScanNoFolder};
    if (!IsScannableFolder(scanFolder)) return Notice{NoticeId::ScanUnsuitableFolder};
    return std::nullopt;
}

ScanCommand::ScanCommand(const QByteArray& performer, const QString& scanFolder)
    : performer_(performer), scanFolder_(scanFolder) {}

std::optional<Notice> ScanCommand::validate(const CatalogueSession&) const {
    return ScanFolderProblem(scanFolder_);
}

void ScanCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    outcome_ = ScanSongsIntoPerformer(change, repository, performer_, scanFolder_);
}

// The new albums are listed with none selected; songs, text and pictures of the old
// catalogue are gone from view.
void ScanCommand::succeeded(CatalogueSession& session, Feedback& feedback) {
    session.ShowAlbums(outcome_.albums);
    session.HidePicture();
    session.ShowSongs({});
    session.ShowText({});
    session.NotifyChange(CatalogueChange::PerformerFiles, performer_);
    if (!outcome_.replacedCharacters.isEmpty())
        feedback.tell({NoticeId::ReplacedCharacters, outcome_.replacedCharacters});
    if (!outcome_.picturesLeft.isEmpty()) feedback.errorReport(outcome_.picturesLeft);
    if (!outcome_.unreadFiles.isEmpty())
        feedback.tell({NoticeId::ScanUnreadFiles, outcome_.unreadFiles});
    if (outcome_.musicWithoutLyrics > 0)
        feedback.tell(
            {NoticeId::ScanMusicWithoutLyrics, {QString::number(outcome_.musicWithoutLyrics)}});
}

void ScanCommand::failed(CatalogueSession&, std::exception_ptr failure, Feedback& feedback) {
    try {
        std::rethrow_exception(failure);
    } catch (const ScanRefused& refused) {
        feedback.tell({NoticeId::ScanRefused, {refused.message()}});
    } catch (...) {
        feedback.errorReport(FailureDescription(failure));
    }
}

// ---------------------------------------------------------------- import

ImportBase CheckImportBase(const QString& baseFolder) {
    ImportBase base{baseFolder, {}, std::nullopt};
    if (!BaseFolderHoldsCatalogue(baseFolder)) {
        base.problem = Notice{NoticeId::ImportNoBase};
        return base;
    }
    // A folder name that cannot name a performer folder here, or that the catalogue's code
    // page cannot hold, is refused before anything is written.
    const QString name = BaseFolderPerformerName(baseFolder);
    const BaseName encoded = EncodeBasePerformerName(name);
    switch (encoded.fault) {
        case BaseNameFault::None:
            base.performer = encoded.bytes;
            break;
        case BaseNameFault::Unencodable:
            base.problem = Notice{NoticeId::ImportUnencodableName,
                                  {cp1251::describeCharacters(encoded.unencodable)}};
            break;
        case BaseNameFault::UnsafeName:
            base.problem = Notice{NoticeId::ImportUnusableName, {name}};
            break;
    }
    return base;
}

ImportCommand::ImportCommand(const QString& baseFolder) : base_{baseFolder, {}, std::nullopt} {
    if (!baseFolder.isEmpty()) base_ = CheckImportBase(baseFolder);
}

std::optional<Notice> ImportCommand::validate(const CatalogueSession& session) const {
    if (base_.folder.isEmpty()) return Notice{NoticeId::ImportNoFolder};
    if (base_.problem) return base_.problem;
    // Importing this catalogue's own folder of the performer would delete the very files it
    // is to copy.
    if (IsOwnPerformerFolder(session.StartDir(), base_.folder, base_.performer))
        return Notice{NoticeId::ImportOwnFolder};
    return std::nullopt;
}

// Asked for each listed performer of the same name; nothing has been changed when the user
// declines.
bool ImportCommand::confirm(CatalogueSession& session, Feedback& feedback) {
    before_ = session.Performers();
    for (const QByteArray& entry : before_)
        if (entry == base_.performer &&
            feedback.tell({NoticeId::ConfirmPerformerReplacement}) != Ok)
            return false;
    return true;
}

void ImportCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    ImportPerformerBase(change, repository.startDir(), base_.folder, before_, base_.performer,
                        progress_);
}

void ImportCommand::putAwayViews(CatalogueSession& session, Feedback& feedback) const {
    session.ShowAlbums({});
    session.ShowPerformers({});
    session.ClearBrowsing(PictureCaption::Kind::PutAway);
    if (progress_.oldDataNotRemovable) feedback.tell({NoticeId::ImportOldDataProblems});
}

void ImportCommand::succeeded(CatalogueSession& session, Feedback& feedback) {
    putAwayViews(session, feedback);
    session.NotifyChange(CatalogueChange::PerformerAdded, base_.performer);
    try {
        session.ShowPerformers(session.Repository().readPerformerList().toList());
    } catch (const StoreError& e) {
        // The list file may or may not name the performer now: the list is what it holds.
        session.RestorePerformerList(before_, -1);
        feedback.errorReport(e.description());
        return;
    }
    closes_ = true;
}

void ImportCommand::failed(CatalogueSession& session, std::exception_ptr failure,
                           Feedback& feedback) {
    putAwayViews(session, feedback);
    if (progress_.stage != BaseImportProgress::Stage::Copying) {
        session.RestorePerformerList(before_, -1);
        feedback.errorReport(FailureDescription(failure));
        return;
    }
    // A failed copy has been undone: the list is as it was.
    session.ShowPerformers(before_);
    feedback.tell({NoticeId::ImportCopyProblems});
    closes_ = true;
}

// ---------------------------------------------------------------- export

ExportCommand::ExportCommand(const QByteArray& performer, const QString& folder,
                             ExportFormat format)
    : performer_(performer), folder_(folder), format_(format) {}

std::optional<Notice> ExportCommand::validate(const CatalogueSession&) const {
    if (performer_.isEmpty()) return Notice{NoticeId::ChoosePerformer};
    if (folder_.isEmpty()) return Notice{NoticeId::ExportNoFolder};
    return std::nullopt;
}

void ExportCommand::apply(const PerformerRepository& repository, FileSetChange&) {
    report_ = ExportReport(ExportPerformer(repository.startDir(), performer_, folder_, format_));
}

void ExportCommand::succeeded(CatalogueSession&, Feedback& feedback) {
    feedback.tell({NoticeId::ExportDone, {report_}});
}

void ExportCommand::failed(CatalogueSession&, std::exception_ptr failure, Feedback& feedback) {
    try {
        std::rethrow_exception(failure);
    } catch (const ExportRefused& refused) {
        feedback.tell({NoticeId::ExportRefused, {refused.message()}});
    } catch (...) {
        feedback.errorReport(FailureDescription(failure));
    }
}
