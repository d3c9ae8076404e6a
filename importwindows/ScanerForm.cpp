#include "importwindows/ScanerForm.h"

#include <QLineEdit>
#include <QPushButton>

#include "session/CatalogueSession.h"
#include "session/ImportCommands.h"
#include "support/Modal.h"

TScanerForm::TScanerForm(CatalogueSession& session, QWidget* parent)
    : FolderForm(session, QStringLiteral("Укажите папку для сканирования:"),
                 {QStringLiteral("Сканировать"), QRect(80, 76, 90, 25), QRect(176, 76, 90, 25)},
                 parent),
      ObzorButton(browse_),
      ScanButton(run_),
      CancelButton(cancel_) {
    setObjectName(QStringLiteral("ScanerForm"));
    setWindowTitle(QStringLiteral("Сканер"));
    for (QPushButton* b : {ObzorButton, ScanButton, CancelButton}) b->setAutoDefault(false);
    connect(ScanButton, &QPushButton::clicked, this, &TScanerForm::ScanButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TScanerForm::CancelButtonClick);
}

void TScanerForm::FormActivate() {
    targetPerformer_ = session_.SelectedPerformer();
}

bool TScanerForm::First_Control() {
    if (const std::optional<Notice> problem = ScanFolderProblem(Edit1->text())) {
        WidgetFeedback(this).tell(*problem);
        return false;
    }
    return true;
}

void TScanerForm::ScanButtonClick() {
    ScanCommand command(targetPerformer_, Edit1->text());
    if (Done(command)) close();
}

void TScanerForm::CancelButtonClick() {
    close();
}
