#include "session/RenameCommands.h"

#include "session/CatalogueSession.h"
#include "session/EditingCommands.h"
#include "store/Catalogue.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/PerformerRepository.h"
#include "store/StoreError.h"

namespace {

// No picture, or a file of the new name already there: the album just has no picture under
// its new name. A picture that is there and free to move but fails to move is a failure.
bool renamePictureIfFree(const PerformerRepository& repository, FileSetChange& change,
                         QByteArrayView performer, QByteArrayView oldAlbum,
                         QByteArrayView newAlbum) {
    QString from;
    QString to;
    try {
        from = repository.path(StoreEntry::AlbumPicture, performer, oldAlbum);
        to = repository.path(StoreEntry::AlbumPicture, performer, newAlbum);
    } catch (const StoreNameError&) {
        return false;
    }
    if (!fileio::isFile(from) || fileio::exists(to)) return false;
    change.rename(from, to);
    return true;
}

void replaceEqualLines(Lines& lines, QByteArrayView from, QByteArrayView to) {
    for (Line& line : lines)
        if (line == from) line = to.toByteArray();
}

// The carrying deletes old files only where a copy exists or where nothing is carried; a file
// that will not go stays behind, and the folder removal at the end reports it. False when a
// folder is left.
bool removeOldPerformerFolder(const PerformerRepository& repository, FileSetChange& change,
                              QByteArrayView oldName) {
    for (StoreEntry file : kPerformerLineFiles) {
        try {
            change.remove(repository.path(file, oldName));
        } catch (const StoreError&) {
        }
    }
    // Other files of the performer folder are not carried: they keep the old folder, and its
    // removal reports them.
    if (!RemoveFolderThrough(change, repository.path(StoreEntry::PictureFolder, oldName)))
        return false;
    try {
        change.removeDir(repository.path(StoreEntry::PerformerFolder, oldName));
    } catch (const StoreError&) {
        return false;
    }
    return true;
}

}  // namespace

// ---------------------------------------------------------------- album

RenameAlbumCommand::RenameAlbumCommand(const QByteArray& performer, const QByteArray& oldName,
                                       const QByteArray& newName)
    : performer_(performer), oldName_(oldName), newName_(newName) {}

std::optional<Notice> RenameAlbumCommand::validate(const CatalogueSession& session) const {
    return NameRefusal(CheckAlbumName(newName_, session.Albums()), NoticeId::EmptyAlbumName,
                       NoticeId::AlbumExistsRename);
}

// The album's songs and lyrics are found through its name in all three files and in its
// picture's name: either all of them take the new name or none does.
void RenameAlbumCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    PerformerCatalogue catalogue;
    catalogue.performer = performer_;
    catalogue.albumList = repository.read(performer_, StoreEntry::AlbumList);
    oldAlbumList_ = albumList_ = catalogue.albums();
    albumListRead_ = true;
    catalogue.songList = repository.read(performer_, StoreEntry::SongList);
    songListRead_ = true;
    catalogue.textFile = repository.read(performer_, StoreEntry::TextFile);
    textsRead_ = true;
    catalogue.renameAlbum(oldName_, newName_);
    albumList_ = catalogue.albums();
    repository.save(change, catalogue);
    pictureRenamed_ = renamePictureIfFree(repository, change, performer_, oldName_, newName_);
}

// The lists show the album list as it now stands, and neither songs nor text of the album
// under its old name.
void RenameAlbumCommand::show(CatalogueSession& session) const {
    if (albumListRead_) session.ShowAlbums(albumList_);
    if (songListRead_) session.ShowSongs({});
    if (textsRead_) session.ShowText({});
}

void RenameAlbumCommand::succeeded(CatalogueSession& session, Feedback&) {
    show(session);
    if (pictureRenamed_) {
        session.HidePicture();
        session.ShowCaption(PictureCaption::Kind::PutAway);
    }
    session.NotifyChange(CatalogueChange::PerformerFiles, performer_);
}

void RenameAlbumCommand::failed(CatalogueSession& session, std::exception_ptr failure,
                                Feedback& feedback) {
    albumList_ = oldAlbumList_;  // the change has been undone
    show(session);
    feedback.errorReport(FailureDescription(failure));
}

// ---------------------------------------------------------------- performer

RenamePerformerCommand::RenamePerformerCommand(const QByteArray& oldName, const QByteArray& typed)
    : oldName_(oldName), newName_(WithoutTrailingBlanks(typed)) {}

std::optional<Notice> RenamePerformerCommand::validate(const CatalogueSession& session) const {
    return NameRefusal(CheckPerformerName(newName_, session.Performers()),
                       NoticeId::EmptyPerformerNameRename, NoticeId::PerformerExistsRename);
}

bool RenamePerformerCommand::confirm(CatalogueSession& session, Feedback&) {
    before_ = session.Performers();
    selected_ = session.PerformerIndex();
    return true;
}

// The new folder is complete before the list names it, and the old one is emptied only after:
// whatever step fails, the list names a folder that holds the performer's files.
void RenamePerformerCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    const QString oldFolder = repository.path(StoreEntry::PerformerFolder, oldName_);
    const QString newFolder = repository.path(StoreEntry::PerformerFolder, newName_);
    if (fileio::exists(newFolder)) {
        folder_ = Folder::NewFolderExists;
        return;
    }
    const QString listPath = repository.path(StoreEntry::PerformerList);
    const QByteArray listed = fileio::readAll(listPath);
    Lines list = before_;
    replaceEqualLines(list, oldName_, newName_);
    CopyPerformerFolder(change, oldFolder, newFolder,
                        PictureFilesIn(repository.path(StoreEntry::PictureFolder, oldName_)));
    change.replaceLast(listPath, JoinRecordLines(list), listed);
    listChecked_ = true;
    folder_ = removeOldPerformerFolder(repository, change, oldName_) ? Folder::Carried
                                                                     : Folder::NotCarried;
}

// From the moment the list file is rewritten no performer is shown: the one shown no longer
// exists under that name.
void RenamePerformerCommand::succeeded(CatalogueSession& session, Feedback& feedback) {
    if (folder_ == Folder::NewFolderExists) {
        feedback.tell({NoticeId::RenameProblems});  // nothing written: another name may do
        return;
    }
    session.ShowAlbums({});
    session.ShowPerformers({});
    session.ClearBrowsing(PictureCaption::Kind::PutAway);
    try {
        session.ShowPerformers(session.Repository().readPerformerList().toList());
    } catch (const StoreError& e) {
        session.RestorePerformerList(before_, selected_);
        feedback.errorReport(e.description());
        return;
    }
    renamed_ = true;
    session.NotifyChange(CatalogueChange::PerformerRenamed, newName_, oldName_);
    if (folder_ == Folder::NotCarried) feedback.tell({NoticeId::RenameProblems});
}

void RenamePerformerCommand::failed(CatalogueSession& session, std::exception_ptr failure,
                                    Feedback& feedback) {
    session.RestorePerformerList(before_, selected_);
    feedback.errorReport(FailureDescription(failure));
}

// ---------------------------------------------------------------- song

RenameSongCommand::RenameSongCommand(const CommandTarget& song, const QByteArray& newName)
    : target_(song), newName_(newName) {}

std::optional<Notice> RenameSongCommand::validate(const CatalogueSession& session) const {
    return NameRefusal(CheckSongName(newName_, session.Songs()), NoticeId::EmptySongName,
                       NoticeId::SongExistsRename);
}

// A song listed under its new name whose lyrics kept the old one would have no lyrics.
void RenameSongCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    PerformerCatalogue catalogue;
    catalogue.performer = target_.performer;
    catalogue.songList = repository.read(target_.performer, StoreEntry::SongList);
    catalogue.textFile = repository.read(target_.performer, StoreEntry::TextFile);
    catalogue.renameSong(target_.album, target_.song, newName_);
    repository.save(change, catalogue, true);
}

// The song keeps its place and its selection under the new name, and the text key follows it,
// as a new choice of the song would set it, so that the text editor finds and saves the song's
// block under the name it now has.
void RenameSongCommand::succeeded(CatalogueSession& session, Feedback&) {
    Lines songs = session.Songs();
    replaceEqualLines(songs, target_.song, newName_);
    session.ShowSongs(songs, session.SongIndex());
    session.SetCurrentSong(newName_);
    session.NotifyChange(CatalogueChange::PerformerFiles, target_.performer);
}
