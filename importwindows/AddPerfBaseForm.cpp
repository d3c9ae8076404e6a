#include "importwindows/AddPerfBaseForm.h"

#include <QLineEdit>
#include <QPushButton>

#include "session/CatalogueSession.h"
#include "session/ImportCommands.h"
#include "support/Modal.h"

namespace {

// The refusals of the base folder check, after which the field is emptied.
bool IsFolderCheckRefusal(NoticeId id) {
    return id == NoticeId::ImportNoBase || id == NoticeId::ImportUnencodableName ||
           id == NoticeId::ImportUnusableName;
}

}  // namespace

TAddPerfBaseForm::TAddPerfBaseForm(CatalogueSession& session, QWidget* parent)
    : FolderForm(session, QStringLiteral("Выберите папку с базой исполнителя:"),
                 {QStringLiteral("Добавить"), QRect(92, 76, 75, 25), QRect(180, 76, 75, 25)},
                 parent),
      Button1(browse_),
      Button2(run_),
      Button3(cancel_) {
    setObjectName(QStringLiteral("AddPerfBaseForm"));
    setWindowTitle(QStringLiteral("Добавить исполнителя из базы"));
    Button2->setDefault(true);
    connect(Button2, &QPushButton::clicked, this, &TAddPerfBaseForm::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TAddPerfBaseForm::Button3Click);
}

void TAddPerfBaseForm::Button3Click() {
    close();
}

bool TAddPerfBaseForm::First_Control() {
    const ImportBase base = CheckImportBase(Edit1->text());
    if (!base.problem) return true;
    WidgetFeedback(this).tell(*base.problem);
    Edit1->clear();
    return false;
}

void TAddPerfBaseForm::Button2Click() {
    ImportCommand command(Edit1->text());
    const Outcome outcome = Execute(command);
    if (outcome == Outcome::Refused && IsFolderCheckRefusal(command.refusal()->id)) Edit1->clear();
    if (command.closes()) close();
}
