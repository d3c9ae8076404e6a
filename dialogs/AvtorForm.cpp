#include "dialogs/AvtorForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "session/CatalogueSession.h"
#include "session/EditingCommands.h"
#include "support/DialogLayout.h"
#include "support/PathCharFilter.h"
#include "support/StorableText.h"

TAvtorForm::TAvtorForm(CatalogueSession& session, QWidget* parent)
    : Form(session, parent, kFixedDialogFlags) {
    setObjectName(QStringLiteral("AvtorForm"));
    setWindowTitle(QStringLiteral("Добавление исполнителя"));

    Label1 = new QLabel(this);
    Label1->setWordWrap(true);
    VvodAvtEdit = new QLineEdit(this);
    VvodAvtEdit->setMinimumWidth(280);
    PathCharFilter::installOn(VvodAvtEdit);
    Label1->setBuddy(VvodAvtEdit);
    SaveAvtButton = new QPushButton(QStringLiteral("Сохранить"), this);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    SaveAvtButton->setDefault(true);

    LayOutFixedDialog(this, {Label1, VvodAvtEdit}, {SaveAvtButton, CancelButton});

    TakeAppearance({{VvodAvtEdit, TextControlRule{true, true, true, true}}});
    connect(SaveAvtButton, &QPushButton::clicked, this, &TAvtorForm::SaveAvtButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TAvtorForm::CancelButtonClick);
    FormCreate();
}

void TAvtorForm::FormCreate() {
    Label1->setText(QStringLiteral("Введите имя нового исполнителя и нажмите сохранить:"));
    VvodAvtEdit->setToolTip(QStringLiteral("Нельзя использовать символы: \\/:*?\"<>"));
}

void TAvtorForm::SaveAvtButtonClick() {
    const std::optional<Line> typed = EncodeOrRefuse(this, VvodAvtEdit->text());
    if (!typed) {
        VvodAvtEdit->setFocus();
        return;
    }
    AddPerformerCommand command(*typed);
    if (Execute(command) == Outcome::Refused) {
        // A taken name goes; a name that cannot be stored stays for the user to mend.
        if (command.refusal()->id == NoticeId::PerformerExists) VvodAvtEdit->clear();
        VvodAvtEdit->setFocus();
        return;
    }
    EndWithEmptyBox(Accepted);
}

void TAvtorForm::EndWithEmptyBox(int result) {
    VvodAvtEdit->clear();
    VvodAvtEdit->setFocus();
    done(result);
}

void TAvtorForm::CancelButtonClick() {
    EndWithEmptyBox(Rejected);
}
