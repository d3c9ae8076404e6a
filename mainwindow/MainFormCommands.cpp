// The main window's commands: the edit-mode buttons and the hover panels' commands, each
// checking what it needs before it opens its dialog or hands the work to the session.
#include <QComboBox>
#include <QListWidget>

#include "mainwindow/HoverPanels.h"
#include "mainwindow/MainForm.h"
#include "session/CatalogueSession.h"
#include "session/EditingCommands.h"
#include "support/Modal.h"

namespace {
const QString kChoosePerformer = QStringLiteral("Выберите исполнителя.");
const QString kEmptyPerformer = QStringLiteral("Имя исполнителя не может бить нулевой длины.");
}  // namespace

void TMainForm::HelpSpeedButtonClick() {
    Modal().exec(dialogs_.HelpForm);
}

void TMainForm::PlusPerfSpeedButtonClick() {
    hover_->closePerformerPanel();
    Modal().exec(dialogs_.AddPerfSelectForm);
}

void TMainForm::EditPerfNameSpeedButtonClick() {
    hover_->closePerformerPanel();
    if (!HasSelectedPerformer())
        Inform(this, kChoosePerformer);
    else if (SelectedPerformer().isEmpty())
        Inform(this, kEmptyPerformer);
    else
        Modal().exec(dialogs_.PerfNameEditForm);
}

void TMainForm::EditAlbListSpeedButtonClick() {
    hover_->closeAlbumPanel();
    AlbumsListEdit();
}

void TMainForm::EditAlbNameSpeedButtonClick() {
    hover_->closeAlbumPanel();
    if (!HasSelectedAlbum())
        Inform(this, QStringLiteral("Не выбрано имени для редактирования."));
    else
        Modal().exec(dialogs_.AlbNameEditForm);
}

void TMainForm::EditSongsListSpeedButtonClick() {
    hover_->closeSongsPanel();
    SongsListEdit();
}

void TMainForm::EditSongNameSpeedButtonClick() {
    hover_->closeSongsPanel();
    if (!HasSelectedSong())
        Inform(this, QStringLiteral("Выберите песню."));
    else
        Modal().exec(dialogs_.SongNameEditForm);
}

void TMainForm::SongEdSpeedButtonClick() {
    EditSongText();
}
void TMainForm::DelAvtSpeedButtonClick() {
    DeleteAvtor();
}
void TMainForm::ImageSpeedButtonClick() {
    AddImage();
}

void TMainForm::DeleteAvtor() {
    DeletePerformerCommand command;
    runCommand(command);
}

void TMainForm::ScanerSpeedButtonClick() {
    if (!HasSelectedPerformer()) {
        Inform(this, kChoosePerformer);
        return;
    }
    if (SelectedPerformer().isEmpty()) {
        Inform(this, kEmptyPerformer);
        return;
    }
    if (session_.PerformerHasData() &&
        Inform(this,
               QStringLiteral("Данные этого исполнителя не пусты.\rСканирование заменит всю "
                              "имеющуюся информацию.\rХотите продолжить?"),
               Ok | Cancel) != Ok)
        return;
    Modal().exec(dialogs_.ScanerForm);
}

// The editor's save goes where its lines came from.
void TMainForm::execWithBuffer(QDialog* dialog, EditorBuffer& buffer,
                               const std::optional<Lines>& lines, const CommandTarget& target) {
    if (!lines) return;
    buffer = {target, *lines};
    Modal().exec(dialog);
}

void TMainForm::AlbumsListEdit() {
    if (!HasSelectedPerformer()) {
        Inform(this, kChoosePerformer);
        return;
    }
    execWithBuffer(dialogs_.AlbumsForm, buffers_.albumList, session_.AlbumListForEditing(feedback_),
                   {session_.CurrentPerformer(), {}, {}});
}

void TMainForm::SongsListEdit() {
    if (!HasSelectedAlbum()) {
        Inform(this, QStringLiteral("Выберите альбом."));
        return;
    }
    execWithBuffer(dialogs_.SongsForm, buffers_.songList, session_.SongListForEditing(feedback_),
                   {session_.CurrentPerformer(), session_.SelectedAlbum(), {}});
}

void TMainForm::EditSongText() {
    buffers_.songText.lines.clear();
    if (!HasSelectedSong()) {
        Inform(this, QStringLiteral("Не выбрано песни для редактирования."));
        return;
    }
    if (session_.CurrentSong().isEmpty()) {
        Inform(this, QStringLiteral("Имя песни не должно быть нулевой длины."));
        return;
    }
    execWithBuffer(dialogs_.SongForm, buffers_.songText, session_.SongTextForEditing(feedback_),
                   {session_.CurrentPerformer(), session_.CurrentAlbum(), session_.CurrentSong()});
}
