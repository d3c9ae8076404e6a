#include "dialogs/AlbNameEditForm.h"

#include <QLineEdit>

#include "session/CatalogueSession.h"
#include "session/RenameCommands.h"
#include "support/PathCharFilter.h"

TAlbNameEditForm::TAlbNameEditForm(CatalogueSession& session, QWidget* parent)
    : RenameForm(session, QStringLiteral("Изменение имени альбома"),
                 QStringLiteral("Введите новое имя альбома:"), parent) {
    setObjectName(QStringLiteral("AlbNameEditForm"));
    PathCharFilter::installOn(Edit1);
}

QByteArray TAlbNameEditForm::TakeNames() {
    performer_ = session_.SelectedPerformer();
    return oldName_ = session_.SelectedAlbum();
}

std::unique_ptr<Command> TAlbNameEditForm::RenameTo(const QByteArray& name) {
    return std::make_unique<RenameAlbumCommand>(performer_, oldName_, name);
}
