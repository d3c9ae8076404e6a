#include "session/CatalogueSession.h"

#include <QDir>

#include "store/Catalogue.h"
#include "store/Cp1251.h"
#include "store/Editing.h"
#include "store/FileIo.h"
#include "store/Pictures.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

namespace {

const QString kPictureCaption = QStringLiteral("Картинка: ");
// The caption the commands that change a performer's names leave on the picture window.
const QString kPutAwayCaption = QStringLiteral("Картинка:");

QByteArray entryAt(const Lines& names, int index) {
    return index >= 0 && index < names.size() ? names[index] : QByteArray();
}

int validIndex(const Lines& names, int index) {
    return index >= 0 && index < names.size() ? index : -1;
}

}  // namespace

CatalogueSession::CatalogueSession(QObject* parent)
    : QObject(parent), startDir_(QDir::currentPath()) {}

CatalogueSession::~CatalogueSession() = default;

void CatalogueSession::Open(Feedback& feedback) {
    try {
        RemoveInterruptedSaves(startDir_);
        EnsurePerformerList(startDir_);
        loadPerformerList();
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
}

// No empty performer is offered; the file keeps its lines until the next rewrite.
void CatalogueSession::loadPerformerList() {
    Lines names = LoadPerformerList(startDir_).toList();
    names.removeIf([](const QByteArray& name) { return name.isEmpty(); });
    setPerformers(names);
}

// After a failure that may have touched the performer list file, the list is what the file
// holds: every later command writes the file from it, and a list short of a name would drop
// that performer from the catalogue. When the file cannot be read, the list as it was.
void CatalogueSession::restorePerformerList(const Lines& before, int selected) {
    try {
        loadPerformerList();
    } catch (const StoreError&) {
        setPerformers(before);
    }
    if (performers_ == before) setPerformers(before, selected);
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

void CatalogueSession::SelectPerformer(int index) {
    performerIndex_ = validIndex(performers_, index);
}
void CatalogueSession::SelectAlbum(int index) {
    albumIndex_ = validIndex(albums_, index);
}
void CatalogueSession::SelectSong(int index) {
    songIndex_ = validIndex(songs_, index);
}

// The lists, the text and the album picture of the old choice are put away.
void CatalogueSession::clearBrowsing(const QString& caption) {
    setAlbums({});
    setSongs({});
    emit songTextChanged({});
    emit pictureHidden();
    emit pictureCaptionChanged(caption);
}

// ---------------------------------------------------------------- browsing

void CatalogueSession::ChoosePerformer(int index, Feedback& feedback) {
    SelectPerformer(index);
    clearBrowsing(kPictureCaption);
    currentPerformer_ = SelectedPerformer();
    try {
        albumsPath_ = PerformerStorePath(startDir_, StoreEntry::AlbumList, currentPerformer_);
        setAlbums(LoadAlbumList(startDir_, currentPerformer_).toList());
    } catch (const StoreReadError&) {
        feedback.message(MsgKind::Warning,
                         QStringLiteral("Не найдено файла с списком альбомов: ") + albumsPath_);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
}

void CatalogueSession::ChooseAlbum(int index, Feedback& feedback) {
    SelectAlbum(index);
    emit songTextChanged({});
    currentAlbum_ = SelectedAlbum();
    textKeyPrefix_ = currentAlbum_ + ' ' + kBlockMarker + ' ';
    try {
        songsPath_ = PerformerStorePath(startDir_, StoreEntry::SongList, currentPerformer_);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return;
    }
    emit pictureHidden();
    emit pictureCaptionChanged(AlbumPictureCaption());
    showAlbumPicture(feedback);
    try {
        setSongs(LoadSongList(startDir_, currentPerformer_, currentAlbum_));
    } catch (const StoreReadError&) {
        feedback.message(MsgKind::Warning,
                         QStringLiteral("Не найдено файла с списками песен: ") + songsPath_);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
}

// A picture that cannot be read is reported; the album's songs are listed all the same.
void CatalogueSession::showAlbumPicture(Feedback& feedback) {
    try {
        picturePath_ = PerformerStorePath(startDir_, StoreEntry::AlbumPicture, currentPerformer_,
                                          currentAlbum_);
    } catch (const StoreNameError&) {
        picturePath_.clear();  // such an album cannot have a picture file
        return;
    }
    if (!fileio::isFile(picturePath_)) return;
    try {
        emit albumPictureRead(fileio::readAll(picturePath_));
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
}

void CatalogueSession::ChooseSong(int index, Feedback& feedback) {
    SelectSong(index);
    if (!HasSelectedSong()) return;
    currentSong_ = SelectedSong();
    textKey_ = textKeyPrefix_ + currentSong_;
    SongOut(textKey_, feedback);
}

void CatalogueSession::SongOut(const QByteArray& key, Feedback& feedback) {
    try {
        textsPath_ = PerformerStorePath(startDir_, StoreEntry::TextFile, currentPerformer_);
        emit songTextChanged(CollectBlockBodies(ReadRecordFile(textsPath_), key, kTextBlockEnd));
    } catch (const StoreReadError&) {
        feedback.message(MsgKind::Warning,
                         QStringLiteral("Не найдено файла с тексами песен: ") + textsPath_);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
    }
}

bool CatalogueSession::PerformerHasData() const {
    return ::PerformerHasData(startDir_, currentPerformer_);
}

// ---------------------------------------------------------------- the editors' buffers

std::optional<Lines> CatalogueSession::AlbumListForEditing(Feedback& feedback) const {
    try {
        return LoadAlbumList(startDir_, currentPerformer_).toList();
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return std::nullopt;
    }
}

std::optional<Lines> CatalogueSession::SongListForEditing(Feedback& feedback) const {
    try {
        return CollectBlockBodies(ReadRecordFile(songsPath_), SongBlockHeader(SelectedAlbum()),
                                  kSongBlockEnd);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return std::nullopt;
    }
}

std::optional<Lines> CatalogueSession::SongTextForEditing(Feedback& feedback) const {
    try {
        return CollectBlockBodies(ReadRecordFile(textsPath_), textKey_, kTextBlockEnd);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return std::nullopt;
    }
}

// ---------------------------------------------------------------- deletion

void CatalogueSession::DeletePerformer(Feedback& feedback) {
    if (!HasSelectedPerformer()) {
        feedback.inform(QStringLiteral("Выберите исполнителя."));
        return;
    }
    // The selected entry names both the list line and the folder: an empty name would
    // address the data folder itself.
    const QByteArray performer = SelectedPerformer();
    if (performer.isEmpty()) {
        feedback.inform(QStringLiteral("Имя исполнителя не может бить нулевой длины."));
        return;
    }
    if (feedback.message(MsgKind::Confirm,
                         QStringLiteral("Вы уверены что хотите удалить исполнителя?\r"
                                        "Востановление будет невозможно!"),
                         Yes | No) != Yes)
        return;

    const int selected = performerIndex_;
    const Lines performers = performers_;
    Lines remaining = performers;
    remaining.removeAt(selected);
    setPerformers(remaining);
    bool folderRemoved = false;
    try {
        folderRemoved = ::DeletePerformer(startDir_, remaining, performer);
    } catch (const StoreError& e) {
        restorePerformerList(performers, selected);
        feedback.errorReport(e.description());
        return;
    }
    clearBrowsing(kPutAwayCaption);
    emit performerDeleted(performer);
    if (!folderRemoved)
        feedback.message(MsgKind::Error,
                         QStringLiteral("При удалении возникли проблемы, возможно, не все файлы "
                                        "были удалены.\r Вы можете удалить их вручную."));
}

// ---------------------------------------------------------------- the album picture

QString CatalogueSession::AlbumPictureFile() const {
    return AlbumPicturePath(startDir_, currentPerformer_, currentAlbum_);
}

QString CatalogueSession::AlbumPictureCaption() const {
    return kPictureCaption + cp1251::decode(currentPerformer_) + QStringLiteral(" - ") +
           cp1251::decode(currentAlbum_);
}

bool CatalogueSession::HasAlbumPicture() const {
    return ::HasAlbumPicture(startDir_, currentPerformer_, currentAlbum_);
}

bool CatalogueSession::CanStoreAlbumPicture() const {
    return ::CanStoreAlbumPicture(startDir_, currentPerformer_, currentAlbum_);
}

void CatalogueSession::StoreAlbumPicture(const QByteArray& jpeg) {
    ::StoreAlbumPicture(startDir_, currentPerformer_, currentAlbum_, jpeg);
}

void CatalogueSession::RemoveAlbumPicture(Feedback& feedback) {
    if (!HasSelectedAlbum() || !HasAlbumPicture()) {
        feedback.inform(QStringLiteral("Альбом не выбран или у этого альбома нет картинки."));
        return;
    }
    if (feedback.message(MsgKind::Confirm,
                         QStringLiteral("Вы уверены что хотите удалить картинку альбома?\r"
                                        "Востановление будет невозможно!"),
                         Yes | No) != Yes)
        return;
    // A picture that stays on disk stays on screen, and the user hears why.
    try {
        ::RemoveAlbumPicture(startDir_, currentPerformer_, currentAlbum_);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return;
    }
    emit pictureHidden();
    emit pictureCaptionChanged(kPictureCaption);
}
