#include "dialogs/SongsForm.h"

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
#include "support/StorableText.h"

TSongsForm::TSongsForm(QWidget* parent) : Form(parent, kFixedDialogFlags) {
    setObjectName(QStringLiteral("SongsForm"));
    setWindowTitle(QStringLiteral("Редактор списка песен"));

    Memo1 = NewListEditor(this);
    Button1 = new QPushButton(QStringLiteral("Сохранить"), this);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);

    LayOutFixedDialog(this, {Memo1}, {Button1, Button2});

    connect(Button1, &QPushButton::clicked, this, &TSongsForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TSongsForm::Button2Click);
}

void TSongsForm::FormActivate() {
    const Appearance a = ReadAppearance(MainForm->StartDir);
    ApplyToTextControl(Memo1, a, TextControlRule{true, false, true, true});
    ApplyFormColour(this, ResolveColour(a.formColor));
}

void TSongsForm::Button1Click() {
    const std::optional<Lines> songs = EncodeOrRefuse(this, MemoLines(Memo1));
    if (!songs) return;
    if (HoldsEndLine(*songs, kSongBlockEnd)) {
        Inform(this, QStringLiteral("Песня не может называться \"endalbum\"."));
        return;
    }
    try {
        SaveSongList(MainForm->StartDir, MainForm->SelectedPerformer(), MainForm->SelectedAlbum(),
                     *songs);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
        return;
    }
    MainForm->SetSongNames(*songs);
    Memo1->clear();
    accept();
}

void TSongsForm::Button2Click() {
    Memo1->clear();
    reject();
}
