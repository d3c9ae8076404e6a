#include "dialogs/AlbumsForm.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "mainwindow/Forms.h"
#include "mainwindow/MainForm.h"
#include "store/AppearanceSettings.h"
#include "store/Editing.h"
#include "store/StoreError.h"
#include "support/Appearance.h"
#include "support/DialogLayout.h"
#include "support/MemoLines.h"
#include "support/Modal.h"
#include "support/PathCharFilter.h"
#include "support/StorableText.h"

TAlbumsForm::TAlbumsForm(QWidget* parent) : Form(parent, kFixedDialogFlags) {
    setObjectName(QStringLiteral("AlbumsForm"));
    setWindowTitle(QStringLiteral("Редактор списка альбомов"));

    Memo1 = NewListEditor(this);
    PathCharFilter::installOn(Memo1);
    SaveButton = new QPushButton(QStringLiteral("Сохранить"), this);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    SaveButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);

    LayOutFixedDialog(this, {Memo1}, {SaveButton, CancelButton});

    connect(SaveButton, &QPushButton::clicked, this, &TAlbumsForm::SaveButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TAlbumsForm::CancelButtonClick);
}

void TAlbumsForm::FormActivate() {
    const Appearance a = ReadAppearance(MainForm->StartDir);
    ApplyToTextControl(Memo1, a, TextControlRule{true, false, true, true});
    ApplyFormColour(this, ResolveColour(a.formColor));
}

void TAlbumsForm::SaveButtonClick() {
    QStringList typed = MemoLines(Memo1);
    typed.removeAll(QString());
    SetMemoLines(Memo1, typed);
    const std::optional<Lines> albums = EncodeOrRefuse(this, typed);
    if (!albums) return;
    try {
        SaveAlbumList(MainForm->StartDir, MainForm->SelectedPerformer(), *albums);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
        return;
    }
    MainForm->SetAlbumNames(*albums);
    MainForm->SetSongNames({});
    accept();
}

void TAlbumsForm::CancelButtonClick() {
    reject();
}

void TAlbumsForm::done(int result) {
    Memo1->clear();
    Form::done(result);
}
