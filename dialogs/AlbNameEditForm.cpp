#include "dialogs/AlbNameEditForm.h"

#include <QLineEdit>

#include "mainwindow/Forms.h"
#include "mainwindow/MainForm.h"
#include "store/Cp1251.h"
#include "store/StoreError.h"
#include "support/Modal.h"
#include "support/PathCharFilter.h"

TAlbNameEditForm::TAlbNameEditForm(QWidget* parent)
    : RenameForm(QStringLiteral("Изменение имени альбома"),
                 QStringLiteral("Введите новое имя альбома:"), parent) {
    setObjectName(QStringLiteral("AlbNameEditForm"));
    PathCharFilter::installOn(Edit1);
}

void TAlbNameEditForm::FormActivate() {
    if (FirstActivationOfShowing()) {
        performer_ = MainForm->SelectedPerformer();
        oldName_ = MainForm->SelectedAlbum();
        Edit1->setText(cp1251::decode(oldName_));
    }
    ApplyAppearance();
}

void TAlbNameEditForm::SaveButtonClick() {
    QByteArray newName;
    if (!EncodeName(Edit1->text(), newName)) return;
    const RefusalTexts texts{QStringLiteral("Имя альбома не может быть пустым."),
                             QStringLiteral("Такой альбом уже существует.\rВведите другое имя.")};
    if (Refused(CheckAlbumName(newName, MainForm->AlbumNames()), texts)) return;
    AlbumRename rename;
    try {
        RenameAlbum(MainForm->StartDir, performer_, oldName_, newName, rename);
    } catch (const StoreError& e) {
        ShowRename(rename);
        ShowErrorReport(this, e.description());
        return;
    }
    ShowRename(rename);
    close();
}

// The main window shows the album list as it now stands, and neither songs nor text of the
// album under its old name.
void TAlbNameEditForm::ShowRename(const AlbumRename& rename) {
    if (rename.albumListRead) MainForm->SetAlbumNames(rename.albumList);
    if (rename.songListRead) MainForm->SetSongNames({});
    if (rename.textsRead) MainForm->SetSongText({});
    if (rename.pictureRenamed) HideAlbumPictures();
}
