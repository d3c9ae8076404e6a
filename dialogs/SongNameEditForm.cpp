#include "dialogs/SongNameEditForm.h"

#include "session/CatalogueSession.h"
#include "session/RenameCommands.h"

TSongNameEditForm::TSongNameEditForm(CatalogueSession& session, QWidget* parent)
    : RenameForm(session, QStringLiteral("Изменение имени песни"),
                 QStringLiteral("Введите новое имя песни:"), parent) {
    setObjectName(QStringLiteral("SongNameEditForm"));
}

QByteArray TSongNameEditForm::TakeNames() {
    song_ = {session_.SelectedPerformer(), session_.SelectedAlbum(), session_.SelectedSong()};
    return song_.song;
}

std::unique_ptr<Command> TSongNameEditForm::RenameTo(const QByteArray& name) {
    return std::make_unique<RenameSongCommand>(song_, name);
}
