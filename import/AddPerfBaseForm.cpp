#include "import/AddPerfBaseForm.h"

TAddPerfBaseForm::TAddPerfBaseForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("AddPerfBaseForm"));
    setWindowTitle(QStringLiteral("Добавить исполнителя из базы"));
}
