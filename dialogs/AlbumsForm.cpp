#include "dialogs/AlbumsForm.h"

#include <QPlainTextEdit>

TAlbumsForm::TAlbumsForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("AlbumsForm"));
    setWindowTitle(QStringLiteral("Редактор списка альбомов"));
    Memo1 = new QPlainTextEdit(this);
}
