#include "import/AddPerfBaseForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "import/BaseImport.h"
#include "import/ImportFolderDialog.h"
#include "session/CatalogueSession.h"
#include "store/AppearanceSettings.h"
#include "store/Cp1251.h"
#include "support/Appearance.h"
#include "support/FolderBrowseDialog.h"
#include "support/Modal.h"

namespace {

const char kNoFolderText[] = "Не выбрано каталога для сканирования.";
const char kNoBaseText[] = "Выбранный каталог не содержит баз для программы.";
const char kReplaceText[] =
    "Такой исполнитель уже существует. Хотите заменить новыми данными?\rОткатить изменения "
    "будет невозможно!";
const char kOwnFolderText[] =
    "Выбранный каталог является каталогом этого же исполнителя в текущей базе.";

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

TAddPerfBaseForm::TAddPerfBaseForm(CatalogueSession& session, QWidget* parent)
    : Form(session, parent) {
    setObjectName(QStringLiteral("AddPerfBaseForm"));
    setWindowTitle(QStringLiteral("Добавить исполнителя из базы"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(346, 116);
    setFont(DesignedFont());
    createControls();

    FolderBrowseDialog1 = CreateImportFolderDialog(this);
}

void TAddPerfBaseForm::createControls() {
    Label1 = new QLabel(QStringLiteral("Выберите папку с базой исполнителя:"), this);
    Label1->setGeometry(8, 8, 330, 16);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 28, 249, 21);
    Label1->setBuddy(Edit1);
    Button1 = new QPushButton(QStringLiteral("Обзор"), this);
    Button1->setGeometry(264, 26, 75, 25);
    Button2 = new QPushButton(QStringLiteral("Добавить"), this);
    Button2->setGeometry(92, 76, 75, 25);
    Button2->setDefault(true);
    Button3 = new QPushButton(QStringLiteral("Отмена"), this);
    Button3->setGeometry(180, 76, 75, 25);
    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    connect(Button1, &QPushButton::clicked, this, &TAddPerfBaseForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TAddPerfBaseForm::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TAddPerfBaseForm::Button3Click);
}

void TAddPerfBaseForm::FormActivate() {
    const Appearance a = ReadAppearance(session_.StartDir());
    ApplyToTextControl(Edit1, a, TextControlRule{});
    ApplyFormColour(this, ResolveColour(a.formColor));
}

void TAddPerfBaseForm::Button1Click() {
    if (!FolderBrowseDialog1->Execute()) return;
    Edit1->setText(FolderBrowseDialog1->Folder());
    First_Control();
}

void TAddPerfBaseForm::Button3Click() {
    close();
}

void TAddPerfBaseForm::clearBase() {
    Edit1->clear();
    baseFolder_.clear();
    performer_.clear();
}

bool TAddPerfBaseForm::First_Control() {
    baseFolder_ = Edit1->text();
    const QString name = BaseFolderPerformerName(baseFolder_);
    if (!BaseFolderHoldsCatalogue(baseFolder_)) {
        Inform(this, text(kNoBaseText));
        clearBase();
        return false;
    }
    const BaseName encoded = EncodeBasePerformerName(name);
    if (refuseUnusableName(name, encoded)) {
        clearBase();
        return false;
    }
    performer_ = encoded.bytes;
    return true;
}

// A folder name that cannot name a performer folder here, or that the catalogue's code page
// cannot hold, is refused before anything is written.
bool TAddPerfBaseForm::refuseUnusableName(const QString& name, const BaseName& encoded) {
    switch (encoded.fault) {
        case BaseNameFault::None:
            return false;
        case BaseNameFault::Unencodable:
            Inform(this,
                   QStringLiteral("Имя каталога содержит символы, которые нельзя сохранить: ") +
                       cp1251::describeCharacters(encoded.unencodable) + u'.');
            return true;
        case BaseNameFault::UnsafeName:
            Inform(this, QStringLiteral("Имя каталога «") + name +
                             QStringLiteral("» нельзя использовать как имя исполнителя."));
            return true;
    }
    return true;
}

void TAddPerfBaseForm::Button2Click() {
    if (Edit1->text().isEmpty()) {
        Inform(this, text(kNoFolderText));
        return;
    }
    if (!First_Control()) return;
    if (IsOwnPerformerFolder(session_.StartDir(), baseFolder_, performer_)) {
        Inform(this, text(kOwnFolderText));
        return;
    }
    if (!replaceExistingPerformer(session_.Performers())) return;
    WidgetFeedback feedback(this);
    if (session_.ImportPerformer(baseFolder_, performer_, feedback)) close();
}

// Asks for each listed performer of the same name whether to replace it; false when the user
// declines (nothing has been changed then).
bool TAddPerfBaseForm::replaceExistingPerformer(const Lines& performers) {
    for (const QByteArray& entry : performers)
        if (entry == performer_ && Inform(this, text(kReplaceText), Ok | Cancel) != Ok)
            return false;
    return true;
}
