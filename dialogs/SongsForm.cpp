#include "dialogs/SongsForm.h"

#include "session/CatalogueSession.h"
#include "session/EditingCommands.h"

TSongsForm::TSongsForm(CatalogueSession& session, const EditorBuffer& buffer, QWidget* parent)
    : LineEditorForm(session, buffer, Design{false, false, false, true}, parent),
      Button1(saveButton_),
      Button2(cancelButton_) {
    setObjectName(QStringLiteral("SongsForm"));
    setWindowTitle(QStringLiteral("Редактор списка песен"));
}

bool TSongsForm::Save(const EditorBuffer& buffer, const Lines& lines) {
    SaveSongListCommand command(buffer.target, lines);
    return Done(command);
}
