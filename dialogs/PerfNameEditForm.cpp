#include "dialogs/PerfNameEditForm.h"

TPerfNameEditForm::TPerfNameEditForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("PerfNameEditForm"));
    setWindowTitle(QStringLiteral("Изменение имени исполнителя"));
}
