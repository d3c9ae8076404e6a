#include "dialogs/SongForm.h"

#include "session/CatalogueSession.h"
#include "session/EditingCommands.h"
#include "store/Cp1251.h"

// Cancelling leaves the editor as it is: the opener fills it anew before the next use.
TSongForm::TSongForm(CatalogueSession& session, const EditorBuffer& buffer, QWidget* parent)
    : LineEditorForm(session, buffer, Design{true, false, true, false}, parent),
      Panel1(panel_),
      Button1Save(saveButton_),
      Button2Can(cancelButton_) {
    setObjectName(QStringLiteral("SongForm"));
    setWindowTitle(QString());
}

// The caption names the song being edited.
void TSongForm::showEvent(QShowEvent* event) {
    setWindowTitle(QStringLiteral("Редактор текста песен   -   ") +
                   cp1251::decode(session_.CurrentSong()));
    LineEditorForm::showEvent(event);
}

bool TSongForm::Save(const EditorBuffer& buffer, const Lines& lines) {
    SaveSongTextCommand command(buffer.target, lines);
    return Done(command);
}
