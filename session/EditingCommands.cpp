#include "session/EditingCommands.h"

#include <cerrno>

#include "session/CatalogueSession.h"
#include "store/Catalogue.h"
#include "store/Editing.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/PerformerRepository.h"
#include "store/StoreError.h"

namespace {

// Refuses lines that would not come back as written: a CR, LF or Ctrl-Z would split the line
// or cut it, and every line after a Ctrl-Z at a line's start would vanish for a reader. The
// editors refuse them with a message before; this is the last guard of the files.
void RequireWholeLines(const QString& path, const Lines& lines) {
    if (HoldsLineBreak(lines))
        throw StoreError::withDescription(
            QStringLiteral("A line holding CR, LF or Ctrl-Z would break in the file"), path,
            EINVAL);
}

// The editors' save of one block: the file is read once, and its bytes as read are the old
// bytes of the change.
void SaveBlock(const PerformerRepository& repository, FileSetChange& change,
               const QByteArray& performer, StoreEntry file,
               const std::function<void(PerformerCatalogue&)>& edit) {
    PerformerCatalogue catalogue;
    catalogue.performer = performer;
    LineFile& lines = file == StoreEntry::SongList ? catalogue.songList : catalogue.textFile;
    lines = repository.readToEdit(performer, file);
    edit(catalogue);
    change.replaceLast(repository.path(file, performer), lines.bytes(), lines.asRead());
}

}  // namespace

std::optional<Notice> NameRefusal(NameProblem problem, NoticeId empty, NoticeId duplicate) {
    switch (problem) {
        case NameProblem::None:
            return std::nullopt;
        case NameProblem::Empty:
            return Notice{empty};
        case NameProblem::Duplicate:
            return Notice{duplicate};
        case NameProblem::ControlCharacter:
            return Notice{NoticeId::NameHasControlCharacter};
        case NameProblem::PathCharacter:
            return Notice{NoticeId::NameHasPathCharacter};
        case NameProblem::DotName:
            return Notice{NoticeId::NameIsDot};
        case NameProblem::TooLong:
            return Notice{NoticeId::NameTooLong};
        case NameProblem::EndLine:
            return Notice{NoticeId::SongNamedEndAlbum};
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- new performer

AddPerformerCommand::AddPerformerCommand(const QByteArray& typed)
    : name_(WithoutTrailingBlanks(typed)) {}

std::optional<Notice> AddPerformerCommand::validate(const CatalogueSession& session) const {
    if (name_.isEmpty()) return Notice{NoticeId::EnterName};
    if (session.Performers().contains(name_)) return Notice{NoticeId::PerformerExists};
    // Pasted text passes the typing filter; such a name would leave its folder or break the
    // performer list file.
    const NameProblem problem = CheckPerformerName(name_, {});
    if (problem == NameProblem::PathCharacter || problem == NameProblem::DotName)
        return Notice{NoticeId::PerformerNameUnsafe};
    return NameRefusal(problem, NoticeId::EnterName, NoticeId::PerformerExists);
}

bool AddPerformerCommand::confirm(CatalogueSession& session, Feedback&) {
    before_ = session.Performers();
    selected_ = session.PerformerIndex();
    return true;
}

// The folder is whole before the list names it. A folder left over from an earlier run fails
// the first step, so nothing is to be undone; the lyrics it may hold are reachable again once
// the name is listed.
void AddPerformerCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    const QString listPath = repository.path(StoreEntry::PerformerList);
    const QString folder = repository.path(StoreEntry::PerformerFolder, name_);
    const QByteArray list = JoinRecordLines(Lines(before_) << name_);
    try {
        CreatePerformerFolder(change, repository.startDir(), name_);
    } catch (const StoreError& e) {
        if (e.error() == EEXIST && e.path() == folder) {
            change.replaceLast(listPath, list);
            listed_ = true;
        }
        throw;
    }
    change.replaceLast(listPath, list);
    listed_ = true;
}

void AddPerformerCommand::succeeded(CatalogueSession& session, Feedback&) {
    session.ShowPerformers(Lines(before_) << name_, selected_);
    session.NotifyChange(CatalogueChange::PerformerAdded, name_);
}

void AddPerformerCommand::failed(CatalogueSession& session, std::exception_ptr,
                                 Feedback& feedback) {
    if (listed_) {
        session.ShowPerformers(Lines(before_) << name_, selected_);
        session.NotifyChange(CatalogueChange::PerformerAdded, name_);
    } else {
        session.RestorePerformerList(before_, selected_);
    }
    feedback.tell({NoticeId::PerformerFolderFailure});
}

// ---------------------------------------------------------------- the list editors

SaveAlbumListCommand::SaveAlbumListCommand(const QByteArray& performer, const Lines& albums)
    : performer_(performer), albums_(albums) {}

// The album list goes first; the song list is read after it, so a song list that cannot be
// read leaves the new album list written.
void SaveAlbumListCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    const QString albumsPath = repository.path(StoreEntry::AlbumList, performer_);
    const QString songsPath = repository.path(StoreEntry::SongList, performer_);
    RequireWholeLines(albumsPath, albums_);
    change.replace(albumsPath, JoinRecordLines(albums_));
    PerformerCatalogue catalogue;
    catalogue.performer = performer_;
    catalogue.songList = repository.read(performer_, StoreEntry::SongList);
    if (catalogue.setAlbumList(albums_))
        change.replaceLast(songsPath, catalogue.songList.bytes(), catalogue.songList.asRead());
}

void SaveAlbumListCommand::succeeded(CatalogueSession& session, Feedback&) {
    session.ShowAlbums(albums_);
    session.ShowSongs({});
    session.NotifyChange(CatalogueChange::PerformerFiles, performer_);
}

SaveSongListCommand::SaveSongListCommand(const CommandTarget& album, const Lines& songs)
    : target_(album), songs_(songs) {}

std::optional<Notice> SaveSongListCommand::validate(const CatalogueSession&) const {
    if (HoldsEndLine(songs_, kSongBlockEnd)) return Notice{NoticeId::SongListHoldsEndAlbum};
    return std::nullopt;
}

void SaveSongListCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    RequireWholeLines(repository.path(StoreEntry::SongList, target_.performer), songs_);
    SaveBlock(repository, change, target_.performer, StoreEntry::SongList,
              [&](PerformerCatalogue& c) { c.setSongList(target_.album, songs_); });
}

void SaveSongListCommand::succeeded(CatalogueSession& session, Feedback&) {
    session.ShowSongs(songs_);
    session.NotifyChange(CatalogueChange::PerformerFiles, target_.performer);
}

SaveSongTextCommand::SaveSongTextCommand(const CommandTarget& song, const Lines& text)
    : target_(song), text_(text) {}

std::optional<Notice> SaveSongTextCommand::validate(const CatalogueSession&) const {
    if (HoldsEndLine(text_, kTextBlockEnd)) return Notice{NoticeId::TextHoldsEndSong};
    return std::nullopt;
}

void SaveSongTextCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    RequireWholeLines(repository.path(StoreEntry::TextFile, target_.performer), text_);
    SaveBlock(repository, change, target_.performer, StoreEntry::TextFile,
              [&](PerformerCatalogue& c) { c.setText(target_.album, target_.song, text_); });
}

void SaveSongTextCommand::succeeded(CatalogueSession& session, Feedback&) {
    session.ShowText(text_);
    session.NotifyChange(CatalogueChange::PerformerFiles, target_.performer);
}

// ---------------------------------------------------------------- deletion

std::optional<Notice> DeletePerformerCommand::validate(const CatalogueSession& session) const {
    if (!session.HasSelectedPerformer()) return Notice{NoticeId::ChoosePerformer};
    // The selected entry names both the list line and the folder: an empty name would
    // address the data folder itself.
    if (session.SelectedPerformer().isEmpty()) return Notice{NoticeId::EmptyPerformerName};
    return std::nullopt;
}

bool DeletePerformerCommand::confirm(CatalogueSession& session, Feedback& feedback) {
    if (feedback.tell({NoticeId::ConfirmPerformerDeletion}) != Yes) return false;
    performer_ = session.SelectedPerformer();
    before_ = session.Performers();
    selected_ = session.PerformerIndex();
    return true;
}

void DeletePerformerCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    const QString folder = repository.path(StoreEntry::PerformerFolder, performer_);
    const QString pictures = repository.path(StoreEntry::PictureFolder, performer_);
    Lines remaining = before_;
    remaining.removeAt(selected_);
    // The list is saved whole, its folder flushed, before the performer folder is touched: a
    // deletion that stops at the list leaves the folder as it was.
    change.replaceLast(repository.path(StoreEntry::PerformerList), JoinRecordLines(remaining));
    folderRemoved_ = moveToTrash(change, folder) ||
                     (RemoveFolderThrough(change, pictures) && RemoveFolderThrough(change, folder));
}

// The folder goes to the desktop's trash, from where the user can also take it back after the
// program has closed, when it holds what a deletion removes whole: files and a picture folder
// of files. Any other shape goes file by file, and what cannot go stays and is reported.
bool DeletePerformerCommand::moveToTrash(FileSetChange& change, const QString& folder) {
    try {
        const QStringList inner =
            fileio::listDir(folder, int(fileio::Listing::Dirs) | int(fileio::Listing::Hidden));
        return inner == QStringList{kPictureFolderName} && change.moveFolderToTrash(folder);
    } catch (const StoreError&) {
        return false;  // removed file by file, which reports what stays
    }
}

void DeletePerformerCommand::succeeded(CatalogueSession& session, Feedback& feedback) {
    Lines remaining = before_;
    remaining.removeAt(selected_);
    session.ShowPerformers(remaining);
    session.ClearBrowsing(PictureCaption::Kind::PutAway);
    session.NotifyChange(CatalogueChange::PerformerDeleted, performer_);
    if (!folderRemoved_) feedback.tell({NoticeId::DeletionProblems});
}

void DeletePerformerCommand::failed(CatalogueSession& session, std::exception_ptr failure,
                                    Feedback& feedback) {
    session.RestorePerformerList(before_, selected_);
    feedback.errorReport(FailureDescription(failure));
}
