#include "dialogs/PerfNameEditForm.h"

#include <QLineEdit>

#include "session/CatalogueSession.h"
#include "session/RenameCommands.h"
#include "store/Cp1251.h"
#include "store/Names.h"
#include "support/PathCharFilter.h"

TPerfNameEditForm::TPerfNameEditForm(CatalogueSession& session, QWidget* parent)
    : RenameForm(session, QStringLiteral("Изменение имени исполнителя"),
                 QStringLiteral("Введите новое имя исполнителя:"), parent) {
    setObjectName(QStringLiteral("PerfNameEditForm"));
    PathCharFilter::installOn(Edit1);
}

QByteArray TPerfNameEditForm::TakeNames() {
    return oldName_ = session_.SelectedPerformer();
}

std::unique_ptr<Command> TPerfNameEditForm::RenameTo(const QByteArray& name) {
    return std::make_unique<RenamePerformerCommand>(oldName_, name);
}

// A new folder name that exists already writes nothing: the user may choose another name.
bool TPerfNameEditForm::Closes(const Command& command, Outcome outcome) const {
    return outcome == Outcome::Done &&
           static_cast<const RenamePerformerCommand&>(command).renamed();
}

// A taken name shows as it was compared: without its trailing blanks.
void TPerfNameEditForm::Refused(const Command& command) {
    if (command.refusal()->id == NoticeId::PerformerExistsRename)
        Edit1->setText(cp1251::decode(WithoutTrailingBlanks(cp1251::encode(Edit1->text()).bytes)));
}

void TPerfNameEditForm::CancelButtonClick() {
    Edit1->clear();
    close();
}
