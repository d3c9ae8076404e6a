#include "dialogs/RenameForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "session/CatalogueSession.h"
#include "store/Cp1251.h"
#include "support/Modal.h"

RenameForm::RenameForm(CatalogueSession& session, const QString& caption, const QString& prompt,
                       QWidget* parent)
    : Form(session, parent) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(DesignedFont());
    Label1 = new QLabel(prompt, this);
    Edit1 = new QLineEdit(this);
    Edit1->setMinimumWidth(300);
    Label1->setBuddy(Edit1);
    SaveButton = new QPushButton(QStringLiteral("Сохранить"), this);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(Edit1, SaveButton);
    setTabOrder(SaveButton, CancelButton);
    TakeAppearance({{Edit1, TextControlRule{}}});

    connect(SaveButton, &QPushButton::clicked, this, [this] { SaveButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
}

void RenameForm::showEvent(QShowEvent* event) {
    namesTaken_ = false;
    Form::showEvent(event);
}

void RenameForm::FormActivate() {
    if (namesTaken_) return;
    namesTaken_ = true;
    Edit1->setText(cp1251::decode(TakeNames()));
}

bool RenameForm::Closes(const Command&, Outcome outcome) const {
    return outcome == Outcome::Done;
}

void RenameForm::SaveButtonClick() {
    const cp1251::Encoded name = cp1251::encode(Edit1->text());
    if (!name.ok()) {
        Inform(this, QStringLiteral("Имя содержит символы, которые нельзя сохранить: ") +
                         cp1251::describeCharacters(name.unencodable) + u'.');
        return;
    }
    const std::unique_ptr<Command> command = RenameTo(name.bytes);
    const Outcome outcome = Execute(*command);
    if (outcome == Outcome::Refused) Refused(*command);
    if (Closes(*command, outcome)) close();
}

void RenameForm::CancelButtonClick() {
    close();
}
