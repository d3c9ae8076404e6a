#include "mainwindow/MainForm.h"
#include <QWidget>

// Work in progress: bodies arrive with the main window.
TMainForm::TMainForm(QWidget* parent) : QWidget(parent) {}
TMainForm::~TMainForm() = default;
Lines TMainForm::PerformerNames() const {
    return {};
}
bool TMainForm::HasSelectedPerformer() const {
    return false;
}
QByteArray TMainForm::SelectedPerformer() const {
    return {};
}
Lines TMainForm::AlbumNames() const {
    return {};
}
bool TMainForm::HasSelectedAlbum() const {
    return false;
}
QByteArray TMainForm::SelectedAlbum() const {
    return {};
}
Lines TMainForm::SongNames() const {
    return {};
}
bool TMainForm::HasSelectedSong() const {
    return false;
}
QByteArray TMainForm::SelectedSong() const {
    return {};
}
void TMainForm::SetPerformerNames(const Lines&) {}
void TMainForm::SetAlbumNames(const Lines&) {}
void TMainForm::SetSongNames(const Lines&) {}
void TMainForm::SetSongText(const Lines&) {}
void TMainForm::ShowPicture(const QImage&) {}
void TMainForm::HidePicture() {}
bool TMainForm::PictureShown() const {
    return false;
}
void TMainForm::PerfComboBoxClick() {}
void TMainForm::AlbumsComboBoxClick() {}
void TMainForm::SongsListBoxClick() {}
void TMainForm::SongOut(const QByteArray&) {}
void TMainForm::RedONSpeedButtonClick() {}
void TMainForm::RedOFFSpeedButtonClick() {}
void TMainForm::HelpSpeedButtonClick() {}
void TMainForm::ScanerSpeedButtonClick() {}
void TMainForm::SongEdSpeedButtonClick() {}
void TMainForm::DelAvtSpeedButtonClick() {}
void TMainForm::ImageSpeedButtonClick() {}
void TMainForm::PlusPerfSpeedButtonClick() {}
void TMainForm::EditPerfNameSpeedButtonClick() {}
void TMainForm::EditAlbListSpeedButtonClick() {}
void TMainForm::EditAlbNameSpeedButtonClick() {}
void TMainForm::EditSongsListSpeedButtonClick() {}
void TMainForm::EditSongNameSpeedButtonClick() {}
void TMainForm::DefaultSpeedButtonClick() {}
void TMainForm::N2Click() {}
void TMainForm::N4Click() {}
void TMainForm::N6Click() {}
void TMainForm::SongsListEdit() {}
void TMainForm::AlbumsListEdit() {}
void TMainForm::EditSongText() {}
void TMainForm::FormActivate() {}
void TMainForm::PerformersSpeedButtonMouseMove() {}
void TMainForm::EdAlbumSpeedButtonMouseMove() {}
void TMainForm::SongsSpeedButtonMouseMove() {}
void TMainForm::PerfListPanelMouseMove(int, int) {}
void TMainForm::AlbumListPanelMouseMove(int, int) {}
void TMainForm::SongsListBoxMouseMove() {}
void TMainForm::FormMouseMove() {}
QSize TMainForm::OuterSize() const {
    return {};
}
void TMainForm::FormCreate() {}
void TMainForm::FormResize() {}
void TMainForm::ApplyMainWindowRule() {}
void TMainForm::createControls() {}
void TMainForm::connectHandlers() {}
void TMainForm::assignHints() {}
void TMainForm::setEditButtonsVisible(bool) {}
void TMainForm::loadPerformerList() {}
void TMainForm::resizeEvent(QResizeEvent*) {}
void TMainForm::mouseMoveEvent(QMouseEvent*) {}
bool TMainForm::event(QEvent* e) {
    return QWidget::event(e);
}
bool TMainForm::eventFilter(QObject*, QEvent*) {
    return false;
}
