#include "dialogs/AddPerfSelectForm.h"

TAddPerfSelectForm::TAddPerfSelectForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("AddPerfSelectForm"));
    setWindowTitle(QStringLiteral("Добавление исполнителя"));
}
