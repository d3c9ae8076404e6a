#include "import/ScanerForm.h"

TScanerForm::TScanerForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("ScanerForm"));
    setWindowTitle(QStringLiteral("Сканер"));
}
