// The main window's performer deletion.
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>

#include "mainwindow/Forms.h"
#include "mainwindow/ImageForm.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/PictureView.h"
#include "store/Editing.h"
#include "store/StoreError.h"
#include "support/Modal.h"

namespace {

bool UserConfirmsDeletion(QWidget* parent) {
    return ShowMessage(parent, MsgKind::Confirm,
                       QStringLiteral("Вы уверены что хотите удалить исполнителя?\r"
                                      "Востановление будет невозможно!"),
                       Yes | No) == Yes;
}

}  // namespace

void TMainForm::DeleteAvtor() {
    if (!HasSelectedPerformer()) {
        Inform(this, QStringLiteral("Выберите исполнителя."));
        return;
    }
    // The selected entry names both the list line and the folder: an empty name would
    // address the data folder itself.
    const QByteArray performer = SelectedPerformer();
    if (performer.isEmpty()) {
        Inform(this, QStringLiteral("Имя исполнителя не может бить нулевой длины."));
        return;
    }
    if (!UserConfirmsDeletion(this)) return;

    const int selected = PerfComboBox->currentIndex();
    const Lines performers = PerformerNames();
    Lines remaining = performers;
    remaining.removeAt(selected);
    SetPerformerNames(remaining);
    bool folderRemoved = false;
    try {
        folderRemoved = DeletePerformer(StartDir, remaining, performer);
    } catch (const StoreError& e) {
        // The list file is as it was, so the selector shows it as it was.
        SetPerformerNames(performers);
        PerfComboBox->setCurrentIndex(selected);
        ShowErrorReport(this, e.description());
        return;
    }
    SetAlbumNames({});
    SetSongNames({});
    SetSongText({});
    HidePicture();
    ImageForm->Image1->clear();
    ImageForm->Image1->hide();
    ImageForm->setWindowTitle(QStringLiteral("Картинка:"));
    if (!folderRemoved)
        ShowMessage(this, MsgKind::Error,
                    QStringLiteral("При удалении возникли проблемы, возможно, не все файлы были "
                                   "удалены.\r Вы можете удалить их вручную."));
}
