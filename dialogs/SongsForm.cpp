#include "dialogs/SongsForm.h"

#include <QPlainTextEdit>

TSongsForm::TSongsForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("SongsForm"));
    setWindowTitle(QStringLiteral("Редактор списка песен"));
    Memo1 = new QPlainTextEdit(this);
}
