#include "dialogs/AlbumsForm.h"

#include <QPlainTextEdit>

#include "session/CatalogueSession.h"
#include "session/EditingCommands.h"
#include "support/MemoLines.h"

TAlbumsForm::TAlbumsForm(CatalogueSession& session, const EditorBuffer& buffer, QWidget* parent)
    : LineEditorForm(session, buffer, Design{false, true, false, true}, parent),
      SaveButton(saveButton_),
      CancelButton(cancelButton_) {
    setObjectName(QStringLiteral("AlbumsForm"));
    setWindowTitle(QStringLiteral("Редактор списка альбомов"));
}

QStringList TAlbumsForm::Typed() {
    QStringList typed = MemoLines(Memo1);
    typed.removeAll(QString());
    SetMemoLines(Memo1, typed);
    return typed;
}

bool TAlbumsForm::Save(const EditorBuffer& buffer, const Lines& lines) {
    SaveAlbumListCommand command(buffer.target.performer, lines);
    return Done(command);
}
