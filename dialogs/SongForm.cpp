#include "dialogs/SongForm.h"

#include <QPlainTextEdit>

TSongForm::TSongForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("SongForm"));
    setWindowTitle(QStringLiteral(""));
    Memo1 = new QPlainTextEdit(this);
}
