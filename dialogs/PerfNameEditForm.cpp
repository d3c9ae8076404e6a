#include "dialogs/PerfNameEditForm.h"

#include <QLineEdit>

#include "session/CatalogueSession.h"
#include "store/Cp1251.h"
#include "store/Names.h"
#include "support/Modal.h"
#include "support/PathCharFilter.h"

TPerfNameEditForm::TPerfNameEditForm(CatalogueSession& session, QWidget* parent)
    : RenameForm(session, QStringLiteral("Изменение имени исполнителя"),
                 QStringLiteral("Введите новое имя исполнителя:"), parent) {
    setObjectName(QStringLiteral("PerfNameEditForm"));
    PathCharFilter::installOn(Edit1);
}

void TPerfNameEditForm::FormActivate() {
    if (FirstActivationOfShowing()) {
        oldName_ = session_.SelectedPerformer();
        Edit1->setText(cp1251::decode(oldName_));
    }
    ApplyAppearance();
}

void TPerfNameEditForm::SaveButtonClick() {
    QByteArray newName;
    if (!EncodeName(Edit1->text(), newName)) return;
    newName = WithoutTrailingBlanks(newName);
    const NameProblem problem = CheckPerformerName(newName, session_.Performers());
    if (problem == NameProblem::Duplicate) Edit1->setText(cp1251::decode(newName));
    const RefusalTexts texts{
        QStringLiteral("Имя исполнителя не может быть пустым."),
        QStringLiteral("Такой исполнитель уже существует.\rВведите другое имя.")};
    if (Refused(problem, texts)) return;

    WidgetFeedback feedback(this);
    if (session_.RenamePerformer(oldName_, newName, feedback)) close();
}

void TPerfNameEditForm::CancelButtonClick() {
    Edit1->clear();
    close();
}
