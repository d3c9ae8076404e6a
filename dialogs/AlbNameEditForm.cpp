#include "dialogs/AlbNameEditForm.h"

TAlbNameEditForm::TAlbNameEditForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("AlbNameEditForm"));
    setWindowTitle(QStringLiteral("Изменение имени альбома"));
}
