#include "session/CatalogueSession.h"

#include <QDir>

#include "store/Catalogue.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FirstRunFlag.h"
#include "store/Pictures.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

namespace {

QByteArray entryAt(const Lines& names, int index) {
    return index >= 0 && index < names.size() ? names[index] : QByteArray();
}

int validIndex(const Lines& names, int index) {
    return index >= 0 && index < names.size() ? index : -1;
}

}  // namespace

CatalogueSession::CatalogueSession(QObject* parent)
    : QObject(parent), repository_(QDir::currentPath()) {
    qRegisterMetaType<PictureCaption>();
}

CatalogueSession::~CatalogueSession() = default;

void CatalogueSession::Open(Feedback& feedback) {
    try {
        RemoveInterruptedSaves(StartDir());
        EnsurePerformerList(StartDir());
        loadPerformerList();
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
}

// No empty performer is offered; the file keeps its lines until the next rewrite.
void CatalogueSession::loadPerformerList() {
    Lines names = repository_.readPerformerList().toList();
    names.removeIf([](const QByteArray& name) { return name.isEmpty(); });
    setPerformers(names);
}

// Every later command writes the file from the list, and a list short of a name would drop
// that performer from the catalogue.
void CatalogueSession::RestorePerformerList(const Lines& before, int selected) {
    try {
        loadPerformerList();
    } catch (const StoreError&) {
        setPerformers(before);
    }
    if (performers_ == before) setPerformers(before, selected);
}

// ---------------------------------------------------------------- commands

Outcome CatalogueSession::execute(Command& command, Feedback& feedback) {
    command.refusal_ = command.validate(*this);
    if (command.refusal_) {
        feedback.tell(*command.refusal_);
        return Outcome::Refused;
    }
    if (!command.confirm(*this, feedback)) return Outcome::Declined;
    std::exception_ptr failure;
    ChangeJournal journal;
    {
        FileSetChange change;
        try {
            command.apply(repository_, change);
            journal = change.commit();
        } catch (...) {
            failure = std::current_exception();
            if (command.keepsStepsOnFailure()) journal = change.journal();
            if (!command.keepsStepsOnFailure()) change.rollBack();
        }
        if (failure && command.keepsStepsOnFailure()) {
            try {
                change.commit();
            } catch (const StoreError&) {
                // the steps stand; only their folders' flush failed
            }
        }
    }
    rememberJournal(journal);
    if (command.changesCatalogue() && !journal.isEmpty()) {
        history_.record({command.label(), command.targetBefore(), command.target()}, journal);
        emit historyChanged();
    }
    if (failure) {
        command.failed(*this, failure, feedback);
        return Outcome::Failed;
    }
    command.succeeded(*this, feedback);
    return Outcome::Done;
}

bool CatalogueSession::CheckFirstRun(Feedback& feedback) {
    // Under a window manager, closing a box activates the main window again.
    if (inFirstRunCheck_ || firstRunFlagUnwritable_) return false;
    inFirstRunCheck_ = true;
    bool showHelp = false;
    if (!FirstRunFlagSet()) {
        FirstRunFlagCommand command;
        showHelp = execute(command, feedback) == Outcome::Done;
        firstRunFlagUnwritable_ = !showHelp;
    }
    inFirstRunCheck_ = false;
    return showHelp;
}

void CatalogueSession::rememberJournal(const ChangeJournal& journal) {
    if (!journal.isEmpty()) lastJournal_ = journal;
}

void CatalogueSession::NotifyChange(CatalogueChange what, const QByteArray& performer,
                                    const QByteArray& oldName) {
    emit catalogueChanged(what, performer, oldName);
}

// ---------------------------------------------------------------- state

QByteArray CatalogueSession::SelectedPerformer() const {
    return entryAt(performers_, performerIndex_);
}
QByteArray CatalogueSession::SelectedAlbum() const {
    return entryAt(albums_, albumIndex_);
}
QByteArray CatalogueSession::SelectedSong() const {
    return entryAt(songs_, songIndex_);
}

void CatalogueSession::setPerformers(const Lines& names, int selected) {
    performers_ = names;
    performerIndex_ = validIndex(names, selected);
    emit performersChanged();
}

void CatalogueSession::setAlbums(const Lines& names) {
    albums_ = names;
    albumIndex_ = -1;
    emit albumsChanged();
}

void CatalogueSession::setSongs(const Lines& names, int selected) {
    songs_ = names;
    songIndex_ = validIndex(names, selected);
    emit songsChanged();
}

void CatalogueSession::ShowPerformers(const Lines& names, int selected) {
    setPerformers(names, selected);
}
void CatalogueSession::ShowAlbums(const Lines& names) {
    setAlbums(names);
}
void CatalogueSession::ShowSongs(const Lines& names, int selected) {
    setSongs(names, selected);
}

void CatalogueSession::ShowText(const Lines& text) {
    text_ = text;
    emit songTextChanged(text);
}

void CatalogueSession::HidePicture() {
    picture_.clear();
    emit pictureHidden();
}

void CatalogueSession::ShowCaption(PictureCaption::Kind kind) {
    caption_ = {kind, currentPerformer_, currentAlbum_};
    if (kind != PictureCaption::Kind::Album) caption_.performer = caption_.album = {};
    emit pictureCaptionChanged(caption_);
}

void CatalogueSession::SetCurrentSong(const QByteArray& song) {
    currentSong_ = song;
    textKey_ = textKeyPrefix_ + song;
}

void CatalogueSession::SelectPerformer(int index) {
    performerIndex_ = validIndex(performers_, index);
}
void CatalogueSession::SelectAlbum(int index) {
    albumIndex_ = validIndex(albums_, index);
}
void CatalogueSession::SelectSong(int index) {
    songIndex_ = validIndex(songs_, index);
}

void CatalogueSession::ClearBrowsing(PictureCaption::Kind caption) {
    setAlbums({});
    setSongs({});
    ShowText({});
    HidePicture();
    ShowCaption(caption);
}

// ---------------------------------------------------------------- browsing

void CatalogueSession::ChoosePerformer(int index, Feedback& feedback) {
    SelectPerformer(index);
    ClearBrowsing(PictureCaption::Kind::Empty);
    currentPerformer_ = SelectedPerformer();
    try {
        albumsPath_ = repository_.path(StoreEntry::AlbumList, currentPerformer_);
        setAlbums(repository_.read(currentPerformer_, StoreEntry::AlbumList).toList());
    } catch (const StoreReadError&) {
        feedback.tell({NoticeId::AlbumListMissing, {albumsPath_}});
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
}

void CatalogueSession::ChooseAlbum(int index, Feedback& feedback) {
    SelectAlbum(index);
    ShowText({});
    currentAlbum_ = SelectedAlbum();
    textKeyPrefix_ = currentAlbum_ + ' ' + kBlockMarker + ' ';
    try {
        songsPath_ = repository_.path(StoreEntry::SongList, currentPerformer_);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return;
    }
    HidePicture();
    ShowCaption(PictureCaption::Kind::Album);
    showAlbumPicture(feedback);
    try {
        const LineFile songList = repository_.read(currentPerformer_, StoreEntry::SongList);
        setSongs(songList.bodies(SongBlockHeader(currentAlbum_), kSongBlockEnd));
    } catch (const StoreReadError&) {
        feedback.tell({NoticeId::SongListMissing, {songsPath_}});
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
}

// A picture that cannot be read is reported; the album's songs are listed all the same.
void CatalogueSession::showAlbumPicture(Feedback& feedback) {
    try {
        picturePath_ = repository_.path(StoreEntry::AlbumPicture, currentPerformer_, currentAlbum_);
    } catch (const StoreNameError&) {
        picturePath_.clear();  // such an album cannot have a picture file
        return;
    }
    if (!fileio::isFile(picturePath_)) return;
    try {
        picture_ = fileio::readAll(picturePath_);
        emit albumPictureRead(picture_);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
}

void CatalogueSession::ChooseSong(int index, Feedback& feedback) {
    SelectSong(index);
    if (!HasSelectedSong()) return;
    SetCurrentSong(SelectedSong());
    SongOut(textKey_, feedback);
}

void CatalogueSession::SongOut(const QByteArray& key, Feedback& feedback) {
    try {
        textsPath_ = repository_.path(StoreEntry::TextFile, currentPerformer_);
        ShowText(
            repository_.read(currentPerformer_, StoreEntry::TextFile).bodies(key, kTextBlockEnd));
    } catch (const StoreReadError&) {
        feedback.tell({NoticeId::TextFileMissing, {textsPath_}});
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
}

bool CatalogueSession::RevealSong(const QByteArray& performer, const QByteArray& album,
                                  const QByteArray& song, int line, Feedback& feedback) {
    revealedLine_ = -1;
    const int p = int(performers_.indexOf(performer));
    if (p < 0) return false;  // gone since it was found
    ChoosePerformer(p, feedback);
    emit selectedEntriesChanged();
    const int a = int(albums_.indexOf(album));
    if (a < 0) return false;
    ChooseAlbum(a, feedback);
    emit selectedEntriesChanged();
    const int s = int(songs_.indexOf(song));
    if (s < 0) return false;
    songIndex_ = s;
    emit selectedEntriesChanged();
    revealedLine_ = line;
    ChooseSong(s, feedback);
    return true;
}

bool CatalogueSession::PerformerHasData() const {
    return ::PerformerHasData(StartDir(), currentPerformer_);
}

// ---------------------------------------------------------------- undo and redo

namespace {

// The performers whose folders hold files of the journal, as stored names.
QList<QByteArray> PerformersIn(const ChangeJournal& journal, const QString& dataFolder) {
    QList<QByteArray> performers;
    const QDir data(dataFolder);
    for (const FileVersions& file : journal.files) {
        const QString below = data.relativeFilePath(file.path);
        const qsizetype slash = below.indexOf(u'/');
        if (slash <= 0) continue;
        const QByteArray name = cp1251::encode(below.left(slash)).bytes;
        if (!performers.contains(name)) performers.append(name);
    }
    return performers;
}

}  // namespace

void CatalogueSession::Replayed(Replay direction, const ChangeJournal& journal,
                                const CommandTarget& choose) {
    if (direction == Replay::Back)
        history_.undone();
    else
        history_.redone();
    const QString settings = repository_.path(StoreEntry::Settings);
    if (journal.find(settings)) appearance_.announceChange();
    const QString data = repository_.path(StoreEntry::DataFolder);
    for (const QByteArray& performer : PerformersIn(journal, data))
        emit catalogueChanged(CatalogueChange::Reloaded, performer, {});
    Reload(choose.performer.isEmpty()
               ? CommandTarget{SelectedPerformer(), SelectedAlbum(), SelectedSong()}
               : choose);
    emit historyChanged();
}

// ---------------------------------------------------------------- reading again

void CatalogueSession::Reload(const QByteArray& performer) {
    Q_UNUSED(performer);
    Reload(CommandTarget{SelectedPerformer(), SelectedAlbum(), SelectedSong()});
}

void CatalogueSession::Reload(const CommandTarget& choose) {
    reloadChoice(choose);
    emit catalogueChanged(CatalogueChange::Reloaded, choose.performer, {});
    emit selectionChanged();
}

// Each list is read and chosen again as a choice would read it; where a name is gone, the
// lists below it are left empty. A file that cannot be read leaves its list empty, without a
// word: the user did not ask for it.
void CatalogueSession::reloadChoice(const CommandTarget& choose) {
    try {
        Lines names = repository_.readPerformerList().toList();
        names.removeIf([](const QByteArray& name) { return name.isEmpty(); });
        performers_ = names;
    } catch (const StoreError&) {
        // the list as it was
    }
    performerIndex_ = int(performers_.indexOf(choose.performer));
    albums_.clear();
    albumIndex_ = -1;
    songs_.clear();
    songIndex_ = -1;
    text_.clear();
    picture_.clear();
    caption_ = {};
    if (performerIndex_ < 0 || choose.performer.isEmpty()) return;
    currentPerformer_ = choose.performer;
    PerformerCatalogue files;
    try {
        albumsPath_ = repository_.path(StoreEntry::AlbumList, currentPerformer_);
        albums_ = repository_.read(currentPerformer_, StoreEntry::AlbumList).toList();
        albumIndex_ = int(albums_.indexOf(choose.album));
        if (albumIndex_ < 0) return;
        currentAlbum_ = choose.album;
        textKeyPrefix_ = currentAlbum_ + ' ' + kBlockMarker + ' ';
        caption_ = {PictureCaption::Kind::Album, currentPerformer_, currentAlbum_};
        picturePath_ = AlbumPicturePath(StartDir(), currentPerformer_, currentAlbum_);
        if (!picturePath_.isEmpty() && fileio::isFile(picturePath_))
            picture_ = fileio::readAll(picturePath_);
        songsPath_ = repository_.path(StoreEntry::SongList, currentPerformer_);
        songs_ = repository_.read(currentPerformer_, StoreEntry::SongList)
                     .bodies(SongBlockHeader(currentAlbum_), kSongBlockEnd);
        songIndex_ = int(songs_.indexOf(choose.song));
        if (songIndex_ < 0) return;
        SetCurrentSong(choose.song);
        textsPath_ = repository_.path(StoreEntry::TextFile, currentPerformer_);
        text_ = repository_.read(currentPerformer_, StoreEntry::TextFile)
                    .bodies(textKey_, kTextBlockEnd);
    } catch (const StoreError&) {
        // what could be read shows
    }
}

// ---------------------------------------------------------------- the editors' buffers

std::optional<Lines> CatalogueSession::AlbumListForEditing(Feedback& feedback) const {
    try {
        return repository_.read(currentPerformer_, StoreEntry::AlbumList).toList();
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return std::nullopt;
    }
}

std::optional<Lines> CatalogueSession::SongListForEditing(Feedback& feedback) const {
    try {
        return RecordLines(fileio::readAll(songsPath_))
            .blockBodies(SongBlockHeader(SelectedAlbum()), kSongBlockEnd);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return std::nullopt;
    }
}

std::optional<Lines> CatalogueSession::SongTextForEditing(Feedback& feedback) const {
    try {
        return RecordLines(fileio::readAll(textsPath_)).blockBodies(textKey_, kTextBlockEnd);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return std::nullopt;
    }
}

// ---------------------------------------------------------------- the album picture

QString CatalogueSession::AlbumPictureFile() const {
    return AlbumPicturePath(StartDir(), currentPerformer_, currentAlbum_);
}

bool CatalogueSession::HasAlbumPicture() const {
    return ::HasAlbumPicture(StartDir(), currentPerformer_, currentAlbum_);
}

bool CatalogueSession::CanStoreAlbumPicture() const {
    return ::CanStoreAlbumPicture(StartDir(), currentPerformer_, currentAlbum_);
}
