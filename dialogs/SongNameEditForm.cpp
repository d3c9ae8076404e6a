#include "dialogs/SongNameEditForm.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include "mainwindow/Forms.h"
#include "mainwindow/MainForm.h"
#include "store/Cp1251.h"
#include "store/StoreError.h"
#include "support/Modal.h"

TSongNameEditForm::TSongNameEditForm(QWidget* parent)
    : RenameForm(QStringLiteral("Изменение имени песни"),
                 QStringLiteral("Введите новое имя песни:"), parent) {
    setObjectName(QStringLiteral("SongNameEditForm"));
}

void TSongNameEditForm::FormActivate() {
    if (FirstActivationOfShowing()) {
        performer_ = MainForm->SelectedPerformer();
        album_ = MainForm->SelectedAlbum();
        oldName_ = MainForm->SelectedSong();
        Edit1->setText(cp1251::decode(oldName_));
    }
    ApplyAppearance();
}

void TSongNameEditForm::SaveButtonClick() {
    QByteArray newName;
    if (!EncodeName(Edit1->text(), newName)) return;
    const RefusalTexts texts{QStringLiteral("Имя песни не может быть пустым."),
                             QStringLiteral("Такая песня уже существует.\rВведите другое имя.")};
    if (Refused(CheckSongName(newName, MainForm->SongNames()), texts)) return;
    try {
        RenameSong(MainForm->StartDir, performer_, album_, oldName_, newName);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
        return;
    }
    ShowNewName(newName);
    close();
}

// The song keeps its place and its selection under the new name, and the main window's text
// key follows it, as a new choice of the song would set it, so that the text editor finds and
// saves the song's block under the name it now has.
void TSongNameEditForm::ShowNewName(const QByteArray& newName) {
    Lines songs = MainForm->SongNames();
    for (Line& song : songs)
        if (song == oldName_) song = newName;
    const int selected = MainForm->SongsListBox->currentRow();
    MainForm->SetSongNames(songs);
    {
        const QSignalBlocker quiet(MainForm->SongsListBox);
        MainForm->SongsListBox->setCurrentRow(selected);
    }
    MainForm->CurrentSong = newName;
    MainForm->TextKey = MainForm->TextKeyPrefix + newName;
}
