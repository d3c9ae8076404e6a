#include "support/HelpForm.h"

THelpForm::THelpForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Справка"));
}
