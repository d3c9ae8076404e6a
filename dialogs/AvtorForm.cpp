#include "dialogs/AvtorForm.h"

TAvtorForm::TAvtorForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("AvtorForm"));
    setWindowTitle(QStringLiteral("Добавление исполнителя"));
}
