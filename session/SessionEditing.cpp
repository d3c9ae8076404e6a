// The session's commands that add a performer, save an editor's lines and rename.
#include "session/CatalogueSession.h"

#include "store/Editing.h"
#include "store/Renaming.h"
#include "store/StoreError.h"

namespace {

const QString kPutAwayCaption = QStringLiteral("Картинка:");

const QString kFolderFailure = QStringLiteral(
    "    Возникли ошибки при создании каталогов и файлов исполнителя. Возможно весь каталог или "
    "некоторые файлы уже сучествуют. Попробуйте просматривать альбомы и песни этого "
    "исполнителя, если ничего не работает или работает неправильно, удалите исполнителя "
    "кнопкой \"Удаление исполнителя\" и попробуйте создать его заново.");

}  // namespace

// The list is the one the next command writes back: it names the performer only when the
// list file does. Whatever was selected stays selected.
void CatalogueSession::AddPerformer(const QByteArray& name, Feedback& feedback) {
    const Lines before = performers_;
    const int selected = performerIndex_;
    bool listed = false;
    bool failed = false;
    try {
        ::AddPerformer(startDir_, Lines(before) << name, name, &listed);
    } catch (const StoreError&) {
        failed = true;
    }
    if (listed) {
        setPerformers(Lines(before) << name, selected);
        emit performerFilesChanged(name);
    } else if (failed) {
        restorePerformerList(before, selected);
    }
    if (failed) feedback.message(MsgKind::Warning, kFolderFailure);
}

bool CatalogueSession::SaveAlbumList(const Lines& albums, Feedback& feedback) {
    const QByteArray performer = SelectedPerformer();
    try {
        ::SaveAlbumList(startDir_, performer, albums);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return false;
    }
    setAlbums(albums);
    setSongs({});
    emit performerFilesChanged(performer);
    return true;
}

bool CatalogueSession::SaveSongList(const Lines& songs, Feedback& feedback) {
    const QByteArray performer = SelectedPerformer();
    try {
        ::SaveSongList(startDir_, performer, SelectedAlbum(), songs);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return false;
    }
    setSongs(songs);
    emit performerFilesChanged(performer);
    return true;
}

bool CatalogueSession::SaveSongText(const Lines& text, Feedback& feedback) {
    const QByteArray performer = SelectedPerformer();
    try {
        ::SaveSongText(startDir_, performer, SelectedAlbum(), SelectedSong(), text);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return false;
    }
    emit songTextChanged(text);
    emit performerFilesChanged(performer);
    return true;
}

// ---------------------------------------------------------------- renames

bool CatalogueSession::RenameAlbum(const QByteArray& performer, const QByteArray& oldName,
                                   const QByteArray& newName, Feedback& feedback) {
    AlbumRename rename;
    try {
        ::RenameAlbum(startDir_, performer, oldName, newName, rename);
    } catch (const StoreError& e) {
        showRename(rename);
        feedback.errorReport(e.description());
        return false;
    }
    showRename(rename);
    emit performerFilesChanged(performer);
    return true;
}

// The lists show the album list as it now stands, and neither songs nor text of the album
// under its old name.
void CatalogueSession::showRename(const AlbumRename& rename) {
    if (rename.albumListRead) setAlbums(rename.albumList);
    if (rename.songListRead) setSongs({});
    if (rename.textsRead) emit songTextChanged({});
    if (rename.pictureRenamed) {
        emit pictureHidden();
        emit pictureCaptionChanged(kPutAwayCaption);
    }
}

bool CatalogueSession::RenamePerformer(const QByteArray& oldName, const QByteArray& newName,
                                       Feedback& feedback) {
    const Lines before = performers_;
    const int selected = performerIndex_;
    PerformerRename rename;
    try {
        ::RenamePerformer(startDir_, oldName, newName, before, rename);
    } catch (const StoreError& e) {
        showRename(rename);
        if (!rename.listReadBack) restorePerformerList(before, selected);
        feedback.errorReport(e.description());
        return false;
    }
    showRename(rename);
    const auto folderNotCarried = [&feedback] {
        feedback.message(MsgKind::Error,
                         QStringLiteral("При переименовании возникли проблемы, возможно, не все "
                                        "старые файлы были удалены.\r Вы можете удалить их "
                                        "вручную."));
    };
    switch (rename.folder) {
        case PerformerRename::Folder::NewFolderExists:
            folderNotCarried();  // nothing written: the user may choose another name
            return false;
        case PerformerRename::Folder::NotCarried:
            emit performerRenamed(oldName, newName);
            folderNotCarried();
            break;
        case PerformerRename::Folder::Carried:
            emit performerRenamed(oldName, newName);
            break;
        case PerformerRename::Folder::NotTried:
            break;
    }
    return true;
}

// From the moment the list file is rewritten no performer is shown: the one shown no longer
// exists under that name.
void CatalogueSession::showRename(const PerformerRename& rename) {
    if (rename.listChecked) {
        setAlbums({});
        setPerformers({});
        setSongs({});
        emit songTextChanged({});
        emit pictureHidden();
        emit pictureCaptionChanged(kPutAwayCaption);
    }
    if (rename.listReadBack) setPerformers(rename.performers);
}

// The song keeps its place and its selection under the new name, and the text key follows
// it, as a new choice of the song would set it, so that the text editor finds and saves the
// song's block under the name it now has.
bool CatalogueSession::RenameSong(const QByteArray& performer, const QByteArray& album,
                                  const QByteArray& oldName, const QByteArray& newName,
                                  Feedback& feedback) {
    try {
        ::RenameSong(startDir_, performer, album, oldName, newName);
    } catch (const StoreError& e) {
        feedback.errorReport(e.description());
        return false;
    }
    Lines songs = songs_;
    for (Line& song : songs)
        if (song == oldName) song = newName;
    setSongs(songs, songIndex_);
    currentSong_ = newName;
    textKey_ = textKeyPrefix_ + newName;
    emit performerFilesChanged(performer);
    return true;
}
