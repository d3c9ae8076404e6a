#include "import/ScanerForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "import/ImportFolderDialog.h"
#include "import/SongScan.h"
#include "session/CatalogueSession.h"
#include "store/AppearanceSettings.h"
#include "support/Appearance.h"
#include "support/FolderBrowseDialog.h"
#include "support/Modal.h"

namespace {
const QString kNoPath = QStringLiteral("Укажите путь для сканирования.");
const QString kUnsuitable =
    QStringLiteral("Вы уверены в своём выборе?\rВыбранный каталог не подходит для сканирования.");
}  // namespace

TScanerForm::TScanerForm(CatalogueSession& session, QWidget* parent) : Form(session, parent) {
    setObjectName(QStringLiteral("ScanerForm"));
    setWindowTitle(QStringLiteral("Сканер"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(346, 116);
    setFont(DesignedFont());

    Label1 = new QLabel(QStringLiteral("Укажите папку для сканирования:"), this);
    Label1->setGeometry(8, 8, 330, 16);
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(8, 28, 249, 21);
    Label1->setBuddy(Edit1);
    ObzorButton = new QPushButton(QStringLiteral("Обзор"), this);
    ObzorButton->setGeometry(264, 26, 75, 25);
    ScanButton = new QPushButton(QStringLiteral("Сканировать"), this);
    ScanButton->setGeometry(80, 76, 90, 25);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    CancelButton->setGeometry(176, 76, 90, 25);
    for (QPushButton* b : {ObzorButton, ScanButton, CancelButton}) b->setAutoDefault(false);
    setTabOrder(Edit1, ObzorButton);
    setTabOrder(ObzorButton, ScanButton);
    setTabOrder(ScanButton, CancelButton);

    FolderBrowseDialog1 = CreateImportFolderDialog(this);

    connect(ObzorButton, &QPushButton::clicked, this, &TScanerForm::ObzorButtonClick);
    connect(ScanButton, &QPushButton::clicked, this, &TScanerForm::ScanButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TScanerForm::CancelButtonClick);
}

void TScanerForm::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    Form::showEvent(event);
}

void TScanerForm::FormActivate() {
    targetPerformer_ = session_.SelectedPerformer();
    const Appearance a = ReadAppearance(session_.StartDir());
    ApplyToTextControl(Edit1, a, TextControlRule{true, false, true, true});
    ApplyFormColour(this, ResolveColour(a.formColor));
}

// The check's answer is not needed here: a failing check has told the user, and the path
// stays in the field for the next try.
void TScanerForm::ObzorButtonClick() {
    if (!FolderBrowseDialog1->Execute()) return;
    Edit1->setText(FolderBrowseDialog1->Folder());
    First_Control();
}

bool TScanerForm::First_Control() {
    if (IsScannableFolder(Edit1->text())) return true;
    Inform(this, kUnsuitable);
    return false;
}

void TScanerForm::ScanButtonClick() {
    if (Edit1->text().isEmpty()) {
        Inform(this, kNoPath);
        return;
    }
    if (!First_Control()) return;
    WidgetFeedback feedback(this);
    if (session_.Scan(targetPerformer_, Edit1->text(), feedback)) close();
}

void TScanerForm::CancelButtonClick() {
    close();
}
