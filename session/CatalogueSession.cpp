#include "session/CatalogueSession.h"

#include <QDir>
#include <QTimer>

#include "store/Catalogue.h"
#include "store/ConflictCopies.h"
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
    repository_.knowSeenFiles(&seen_);
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
    Lines names = readShownPerformerList().toList();
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
    QSet<QString> overwrite;  // files changed outside that the user said to write over
    for (;;) {
        std::exception_ptr failure;
        const ChangeJournal journal = applyAsOneChange(command, overwrite, failure);
        const std::optional<QString> outside =
            command.asksBeforeOverwriting() ? changedOutside(failure) : std::nullopt;
        if (outside) {
            if (feedback.tell({NoticeId::ConfirmOverwriteOutsideChange, {BelowData(*outside)}}) ==
                Yes) {
                overwrite.insert(*outside);
                continue;
            }
            Reload(CommandTarget{SelectedPerformer(), SelectedAlbum(), SelectedSong()});
            return Outcome::Declined;
        }
        rememberJournal(journal);
        if (command.changesCatalogue() && !journal.isEmpty()) {
            history_.record({command.label(), command.targetBefore(), command.target()}, journal);
            QTimer::singleShot(0, this, [this] { history_.spillLarge(); });
            emit historyChanged();
        }
        if (failure) {
            command.failed(*this, failure, feedback);
            return Outcome::Failed;
        }
        command.succeeded(*this, feedback);
        return Outcome::Done;
    }
}

// The command's file work as one change: undone whole when it fails, unless the command's rules
// keep the steps done before the failure. A file someone else changed since the user saw it
// stops the change before it is written, and the change is undone.
ChangeJournal CatalogueSession::applyAsOneChange(Command& command, const QSet<QString>& overwrite,
                                                 std::exception_ptr& failure) {
    ChangeJournal journal;
    FileSetChange change;
    if (command.asksBeforeOverwriting()) {
        change.setGuard([this, &overwrite](const QString& path, const QByteArray& current) {
            if (!overwrite.contains(path) && seen_.unseenBy(path, current))
                throw ChangedOutside{path};
        });
    }
    try {
        command.apply(repository_, change);
        journal = change.commit();
    } catch (...) {
        failure = std::current_exception();
        const bool keep = command.keepsStepsOnFailure() &&
                          !(command.asksBeforeOverwriting() && changedOutside(failure));
        if (!keep) {
            change.rollBack();
            return journal;
        }
        journal = change.journal();
        try {
            change.commit();
        } catch (const StoreError&) {
            // the steps stand; only their folders' flush failed
        }
    }
    seen_.sawChange(journal);
    return journal;
}

std::optional<QString> CatalogueSession::changedOutside(std::exception_ptr failure) {
    if (!failure) return std::nullopt;
    try {
        std::rethrow_exception(failure);
    } catch (const ChangedOutside& outside) {
        return outside.path;
    } catch (...) {
        return std::nullopt;
    }
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
        setAlbums(readShown(StoreEntry::AlbumList).toList());
    } catch (const StoreReadError&) {
        feedback.tell({NoticeId::AlbumListMissing, {albumsPath_}});
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
    tellConflictCopies(feedback);
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
        const LineFile songList = readShown(StoreEntry::SongList);
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
        ShowText(readShown(StoreEntry::TextFile).bodies(key, kTextBlockEnd));
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
        Lines names = readShownPerformerList().toList();
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
        albums_ = readShown(StoreEntry::AlbumList).toList();
        albumIndex_ = int(albums_.indexOf(choose.album));
        if (albumIndex_ < 0) return;
        currentAlbum_ = choose.album;
        textKeyPrefix_ = currentAlbum_ + ' ' + kBlockMarker + ' ';
        caption_ = {PictureCaption::Kind::Album, currentPerformer_, currentAlbum_};
        picturePath_ = AlbumPicturePath(StartDir(), currentPerformer_, currentAlbum_);
        if (!picturePath_.isEmpty() && fileio::isFile(picturePath_))
            picture_ = fileio::readAll(picturePath_);
        songsPath_ = repository_.path(StoreEntry::SongList, currentPerformer_);
        songs_ =
            readShown(StoreEntry::SongList).bodies(SongBlockHeader(currentAlbum_), kSongBlockEnd);
        songIndex_ = int(songs_.indexOf(choose.song));
        if (songIndex_ < 0) return;
        SetCurrentSong(choose.song);
        textsPath_ = repository_.path(StoreEntry::TextFile, currentPerformer_);
        text_ = readShown(StoreEntry::TextFile).bodies(textKey_, kTextBlockEnd);
    } catch (const StoreError&) {
        // what could be read shows
    }
}

// ---------------------------------------------------------------- files others change

// A file shown may have been changed by someone else: then everything is read again, with the
// same performer, album and song chosen where they still exist. A line file missing from a
// folder that is still there is taken for one a sync tool is replacing: what shows stays until
// the next change. The program's own writes are what it saw, and read nothing again.
void CatalogueSession::CheckOutsideChanges(Feedback& feedback) {
    QStringList shown{repository_.path(StoreEntry::PerformerList)};
    QString folder;
    if (HasSelectedPerformer() && !currentPerformer_.isEmpty()) {
        try {
            folder = repository_.path(StoreEntry::PerformerFolder, currentPerformer_);
            for (StoreEntry file :
                 {StoreEntry::AlbumList, StoreEntry::SongList, StoreEntry::TextFile})
                shown << repository_.path(file, currentPerformer_);
        } catch (const StoreNameError&) {
            // a name that forms no path was never read
        }
    }
    bool changed = !folder.isEmpty() && !fileio::isDir(folder);
    for (const QString& path : std::as_const(shown)) {
        if (changed) break;
        if (!seen_.writtenSince(path) || !fileio::isFile(path)) continue;
        try {
            QByteArray now = fileio::readAll(path);
            changed = seen_.changedSince(path, now);
            if (!changed) seen_.saw(path, now);      // written again with the same bytes
            justRead_.insert(path, std::move(now));  // what the reading again takes first
        } catch (const StoreError&) {
            // not readable yet; looked at again at the next change
        }
    }
    if (!changed && HasSelectedAlbum()) changed = pictureChangedSinceShown();
    if (changed) Reload(CommandTarget{SelectedPerformer(), SelectedAlbum(), SelectedSong()});
    justRead_.clear();
    tellConflictCopies(feedback);
}

bool CatalogueSession::pictureChangedSinceShown() const {
    if (picturePath_.isEmpty()) return false;
    if (!fileio::isFile(picturePath_)) return !picture_.isEmpty();
    try {
        return fileio::readAll(picturePath_) != picture_;
    } catch (const StoreError&) {
        return false;
    }
}

// Each conflict copy is named once a run, when its folder is shown.
void CatalogueSession::tellConflictCopies(Feedback& feedback) {
    QStringList copies = ConflictCopiesInDataFolder(StartDir());
    if (HasSelectedPerformer() && !currentPerformer_.isEmpty()) {
        try {
            copies += ConflictCopiesInPerformerFolder(
                repository_.path(StoreEntry::PerformerFolder, currentPerformer_));
        } catch (const StoreNameError&) {
        }
    }
    for (const QString& copy : std::as_const(copies)) {
        if (toldConflictCopies_.contains(copy)) continue;
        toldConflictCopies_.insert(copy);
        feedback.tell({NoticeId::SyncConflictCopy, {BelowData(copy)}});
    }
}

// ---------------------------------------------------------------- what the user has seen

LineFile CatalogueSession::readShown(StoreEntry file) const {
    return LineFile(readShownBytes(repository_.path(file, currentPerformer_)));
}

RecordLines CatalogueSession::readShownPerformerList() const {
    return RecordLines(readShownBytes(repository_.path(StoreEntry::PerformerList)));
}

// A file the look for outside changes has just read is not read a second time.
QByteArray CatalogueSession::readShownBytes(const QString& path) const {
    QByteArray bytes = justRead_.contains(path) ? justRead_.take(path) : fileio::readAll(path);
    seen_.saw(path, bytes);
    return bytes;
}

QString CatalogueSession::BelowData(const QString& path) const {
    return QDir(repository_.path(StoreEntry::DataFolder)).relativeFilePath(path);
}

// ---------------------------------------------------------------- the editors' buffers

std::optional<Lines> CatalogueSession::AlbumListForEditing(Feedback& feedback) const {
    try {
        return readShown(StoreEntry::AlbumList).toList();
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return std::nullopt;
    }
}

std::optional<Lines> CatalogueSession::SongListForEditing(Feedback& feedback) const {
    try {
        return readShown(StoreEntry::SongList)
            .bodies(SongBlockHeader(SelectedAlbum()), kSongBlockEnd);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return std::nullopt;
    }
}

std::optional<Lines> CatalogueSession::SongTextForEditing(Feedback& feedback) const {
    try {
        return readShown(StoreEntry::TextFile).bodies(textKey_, kTextBlockEnd);
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
