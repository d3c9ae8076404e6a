#include "dialogs/SongNameEditForm.h"

#include <QLineEdit>

#include "session/CatalogueSession.h"
#include "store/Cp1251.h"
#include "support/Modal.h"

TSongNameEditForm::TSongNameEditForm(CatalogueSession& session, QWidget* parent)
    : RenameForm(session, QStringLiteral("Изменение имени песни"),
                 QStringLiteral("Введите новое имя песни:"), parent) {
    setObjectName(QStringLiteral("SongNameEditForm"));
}

void TSongNameEditForm::FormActivate() {
    if (FirstActivationOfShowing()) {
        performer_ = session_.SelectedPerformer();
        album_ = session_.SelectedAlbum();
        oldName_ = session_.SelectedSong();
        Edit1->setText(cp1251::decode(oldName_));
    }
    ApplyAppearance();
}

void TSongNameEditForm::SaveButtonClick() {
    QByteArray newName;
    if (!EncodeName(Edit1->text(), newName)) return;
    const RefusalTexts texts{QStringLiteral("Имя песни не может быть пустым."),
                             QStringLiteral("Такая песня уже существует.\rВведите другое имя.")};
    if (Refused(CheckSongName(newName, session_.Songs()), texts)) return;
    WidgetFeedback feedback(this);
    if (session_.RenameSong(performer_, album_, oldName_, newName, feedback)) close();
}
