#include "dialogs/AlbNameEditForm.h"

#include <QLineEdit>

#include "session/CatalogueSession.h"
#include "store/Cp1251.h"
#include "support/Modal.h"
#include "support/PathCharFilter.h"

TAlbNameEditForm::TAlbNameEditForm(CatalogueSession& session, QWidget* parent)
    : RenameForm(session, QStringLiteral("Изменение имени альбома"),
                 QStringLiteral("Введите новое имя альбома:"), parent) {
    setObjectName(QStringLiteral("AlbNameEditForm"));
    PathCharFilter::installOn(Edit1);
}

void TAlbNameEditForm::FormActivate() {
    if (FirstActivationOfShowing()) {
        performer_ = session_.SelectedPerformer();
        oldName_ = session_.SelectedAlbum();
        Edit1->setText(cp1251::decode(oldName_));
    }
    ApplyAppearance();
}

void TAlbNameEditForm::SaveButtonClick() {
    QByteArray newName;
    if (!EncodeName(Edit1->text(), newName)) return;
    const RefusalTexts texts{QStringLiteral("Имя альбома не может быть пустым."),
                             QStringLiteral("Такой альбом уже существует.\rВведите другое имя.")};
    if (Refused(CheckAlbumName(newName, session_.Albums()), texts)) return;
    WidgetFeedback feedback(this);
    if (session_.RenameAlbum(performer_, oldName_, newName, feedback)) close();
}
