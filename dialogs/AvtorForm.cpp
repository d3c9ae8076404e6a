#include "dialogs/AvtorForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/RenameForm.h"
#include "session/CatalogueSession.h"
#include "store/AppearanceSettings.h"
#include "store/Editing.h"
#include "store/Renaming.h"
#include "support/Appearance.h"
#include "support/DialogLayout.h"
#include "support/Modal.h"
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

    connect(SaveAvtButton, &QPushButton::clicked, this, &TAvtorForm::SaveAvtButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TAvtorForm::CancelButtonClick);
    FormCreate();
}

void TAvtorForm::FormCreate() {
    Label1->setText(QStringLiteral("Введите имя нового исполнителя и нажмите сохранить:"));
    VvodAvtEdit->setToolTip(QStringLiteral("Нельзя использовать символы: \\/:*?\"<>"));
}

void TAvtorForm::FormActivate() {
    const Appearance a = ReadAppearance(session_.StartDir());
    ApplyToTextControl(VvodAvtEdit, a, TextControlRule{true, true, true, true});
    ApplyFormColour(this, ResolveColour(a.formColor));
}

std::optional<QByteArray> TAvtorForm::AcceptableName() {
    const std::optional<Line> typed = EncodeOrRefuse(this, VvodAvtEdit->text());
    if (!typed) {
        VvodAvtEdit->setFocus();
        return std::nullopt;
    }
    const Line name = WithoutTrailingBlanks(*typed);
    if (name.isEmpty()) {
        Inform(this, QStringLiteral("Введите имя."));
        VvodAvtEdit->setFocus();
        return std::nullopt;
    }
    if (session_.Performers().contains(name)) {
        Inform(this, QStringLiteral("Такой исполнитель уже существует."));
        VvodAvtEdit->clear();
        VvodAvtEdit->setFocus();
        return std::nullopt;
    }
    const NameProblem problem = CheckPerformerName(name, {});
    if (problem != NameProblem::None) {
        // Pasted text passes the typing filter; such a name would leave its folder or break
        // the performer list file.
        const bool leavesFolder =
            problem == NameProblem::PathCharacter || problem == NameProblem::DotName;
        Inform(this, leavesFolder ? QStringLiteral("Имя исполнителя не может содержать символы "
                                                   "\\ / : * ? \" < > | и не может быть \".\" "
                                                   "или \"..\".")
                                  : NameRefusalText(problem));
        VvodAvtEdit->setFocus();
        return std::nullopt;
    }
    return name;
}

void TAvtorForm::SaveAvtButtonClick() {
    const std::optional<QByteArray> name = AcceptableName();
    if (!name) return;
    WidgetFeedback feedback(this);
    session_.AddPerformer(*name, feedback);
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
