#include "dialogs/PerfNameEditForm.h"

#include <QLineEdit>

#include "mainwindow/Forms.h"
#include "mainwindow/MainForm.h"
#include "store/Cp1251.h"
#include "store/StoreError.h"
#include "support/Modal.h"
#include "support/PathCharFilter.h"

TPerfNameEditForm::TPerfNameEditForm(QWidget* parent)
    : RenameForm(QStringLiteral("Изменение имени исполнителя"),
                 QStringLiteral("Введите новое имя исполнителя:"), parent) {
    setObjectName(QStringLiteral("PerfNameEditForm"));
    PathCharFilter::installOn(Edit1);
}

void TPerfNameEditForm::FormActivate() {
    if (FirstActivationOfShowing()) {
        oldName_ = MainForm->SelectedPerformer();
        Edit1->setText(cp1251::decode(oldName_));
    }
    ApplyAppearance();
}

void TPerfNameEditForm::SaveButtonClick() {
    QByteArray newName;
    if (!EncodeName(Edit1->text(), newName)) return;
    newName = WithoutTrailingBlanks(newName);
    const Lines performers = MainForm->PerformerNames();
    const NameProblem problem = CheckPerformerName(newName, performers);
    if (problem == NameProblem::Duplicate) Edit1->setText(cp1251::decode(newName));
    const RefusalTexts texts{
        QStringLiteral("Имя исполнителя не может быть пустым."),
        QStringLiteral("Такой исполнитель уже существует.\rВведите другое имя.")};
    if (Refused(problem, texts)) return;

    PerformerRename rename;
    try {
        RenamePerformer(MainForm->StartDir, oldName_, newName, performers, rename);
    } catch (const StoreError& e) {
        ShowRename(rename);
        ShowErrorReport(this, e.description());
        return;
    }
    ShowRename(rename);
    switch (rename.folder) {
        case PerformerRename::Folder::NewFolderExists:
            ShowFolderNotCarried();  // nothing written: the user may choose another name
            return;
        case PerformerRename::Folder::NotCarried:
            ShowFolderNotCarried();
            break;
        case PerformerRename::Folder::NotTried:
        case PerformerRename::Folder::Carried:
            break;
    }
    close();
}

void TPerfNameEditForm::CancelButtonClick() {
    Edit1->clear();
    close();
}

// From the moment the list file is rewritten the main window shows no performer: the one it
// showed no longer exists under that name.
void TPerfNameEditForm::ShowRename(const PerformerRename& rename) {
    if (rename.listChecked) {
        MainForm->SetAlbumNames({});
        MainForm->SetPerformerNames({});
        MainForm->SetSongNames({});
        MainForm->SetSongText({});
        HideAlbumPictures();
    }
    if (rename.listReadBack) MainForm->SetPerformerNames(rename.performers);
}

void TPerfNameEditForm::ShowFolderNotCarried() {
    ShowMessage(this, MsgKind::Error,
                QStringLiteral("При переименовании возникли проблемы, возможно, не все старые "
                               "файлы были удалены.\r Вы можете удалить их вручную."));
}
