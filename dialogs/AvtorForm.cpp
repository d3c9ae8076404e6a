#include "dialogs/AvtorForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/RenameForm.h"
#include "mainwindow/Forms.h"
#include "mainwindow/MainForm.h"
#include "store/AppearanceSettings.h"
#include "store/Editing.h"
#include "store/Renaming.h"
#include "store/StoreError.h"
#include "support/Appearance.h"
#include "support/DialogLayout.h"
#include "support/Modal.h"
#include "support/PathCharFilter.h"
#include "support/StorableText.h"

namespace {

const QString kFolderFailure = QStringLiteral(
    "    Возникли ошибки при создании каталогов и файлов исполнителя. Возможно весь каталог или "
    "некоторые файлы уже сучествуют. Попробуйте просматривать альбомы и песни этого "
    "исполнителя, если ничего не работает или работает неправильно, удалите исполнителя "
    "кнопкой \"Удаление исполнителя\" и попробуйте создать его заново.");

}  // namespace

TAvtorForm::TAvtorForm(QWidget* parent) : Form(parent, kFixedDialogFlags) {
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
    const Appearance a = ReadAppearance(MainForm->StartDir);
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
    if (MainForm->PerformerNames().contains(name)) {
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
    AppendToPerformerList(*name);
    try {
        AddPerformer(MainForm->StartDir, MainForm->PerformerNames(), *name);
    } catch (const StoreError&) {
        ShowMessage(this, MsgKind::Warning, kFolderFailure);
    }
    EndWithEmptyBox(Accepted);
}

// The new name goes to the end of the drop-down; whatever was selected stays selected.
void TAvtorForm::AppendToPerformerList(const QByteArray& name) {
    const int selected = MainForm->PerfComboBox->currentIndex();
    MainForm->SetPerformerNames(MainForm->PerformerNames() << name);
    MainForm->PerfComboBox->setCurrentIndex(selected);
}

void TAvtorForm::EndWithEmptyBox(int result) {
    VvodAvtEdit->clear();
    VvodAvtEdit->setFocus();
    done(result);
}

void TAvtorForm::CancelButtonClick() {
    EndWithEmptyBox(Rejected);
}
