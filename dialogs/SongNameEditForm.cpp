#include "dialogs/SongNameEditForm.h"

TSongNameEditForm::TSongNameEditForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("SongNameEditForm"));
    setWindowTitle(QStringLiteral("Изменение имени песни"));
}
