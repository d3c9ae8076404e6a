#include "dialogs/RenameForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "session/CatalogueSession.h"
#include "store/AppearanceSettings.h"
#include "store/Cp1251.h"
#include "support/Appearance.h"
#include "support/Modal.h"

QString NameRefusalText(NameProblem problem) {
    switch (problem) {
        case NameProblem::ControlCharacter:
            return QStringLiteral(
                "Имя не может содержать переводы строки и другие "
                "управляющие символы.");
        case NameProblem::PathCharacter:
            return QStringLiteral("Имя не может содержать символы \\ / : * ? \" < > |");
        case NameProblem::DotName:
            return QStringLiteral("Имя не может быть «.» или «..».");
        case NameProblem::TooLong:
            return QStringLiteral(
                "Имя слишком длинное: имя папки или файла не может быть длиннее 255 байт.");
        case NameProblem::EndLine:
            return QStringLiteral("Песню нельзя назвать «endalbum».");
        case NameProblem::None:
        case NameProblem::Empty:
        case NameProblem::Duplicate:
            break;
    }
    return QString();
}

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

    connect(SaveButton, &QPushButton::clicked, this, [this] { SaveButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
}

void RenameForm::showEvent(QShowEvent* event) {
    namesTaken_ = false;
    Form::showEvent(event);
}

bool RenameForm::FirstActivationOfShowing() {
    const bool first = !namesTaken_;
    namesTaken_ = true;
    return first;
}

void RenameForm::ApplyAppearance() {
    const Appearance a = ReadAppearance(session_.StartDir());
    ApplyToTextControl(Edit1, a, TextControlRule{});
    ApplyFormColour(this, ResolveColour(a.formColor));
}

bool RenameForm::EncodeName(const QString& text, QByteArray& name) {
    const cp1251::Encoded encoded = cp1251::encode(text);
    if (!encoded.ok()) {
        Inform(this, QStringLiteral("Имя содержит символы, которые нельзя сохранить: ") +
                         cp1251::describeCharacters(encoded.unencodable) + u'.');
        return false;
    }
    name = encoded.bytes;
    return true;
}

bool RenameForm::Refused(NameProblem problem, const RefusalTexts& texts) {
    switch (problem) {
        case NameProblem::None:
            return false;
        case NameProblem::Empty:
            Inform(this, texts.empty);
            return true;
        case NameProblem::Duplicate:
            Inform(this, texts.duplicate);
            return true;
        default:
            Inform(this, NameRefusalText(problem));
            return true;
    }
}

void RenameForm::CancelButtonClick() {
    close();
}
