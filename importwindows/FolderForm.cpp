#include "importwindows/FolderForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "support/FolderBrowseDialog.h"

namespace {

// The folder picker of the import windows: status line shown, no "New folder" button, and the
// title "Текущий каталог:" where the system language has no caption of its own.
TFolderBrowseDialog* CreateImportFolderDialog(QObject* owner) {
    auto* dialog = new TFolderBrowseDialog(owner);
    dialog->SetFlags(TFolderBrowseDialog::ShowPath);
    dialog->SetNewFolderVisible(false);
    dialog->SetNewFolderEnabled(false);
    QStringList captions = TFolderBrowseDialog::DefaultLabelCaptions();
    for (QString& caption : captions)
        if (caption.startsWith(QLatin1String("Default=")))
            caption = QStringLiteral("Default=Текущий каталог:");
    dialog->SetLabelCaptions(captions);
    return dialog;
}

}  // namespace

FolderForm::FolderForm(CatalogueSession& session, const QString& prompt, const Buttons& buttons,
                       QWidget* parent)
    : Form(session, parent) {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(346, 116);
    setFont(DesignedFont());

    Label1 = new QLabel(prompt, this);
    Label1->setGeometry(8, 8, 330, 16);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 28, 249, 21);
    Label1->setBuddy(Edit1);
    browse_ = new QPushButton(QStringLiteral("Обзор"), this);
    browse_->setGeometry(264, 26, 75, 25);
    run_ = new QPushButton(buttons.run, this);
    run_->setGeometry(buttons.runPlace);
    cancel_ = new QPushButton(QStringLiteral("Отмена"), this);
    cancel_->setGeometry(buttons.cancelPlace);
    setTabOrder(Edit1, browse_);
    setTabOrder(browse_, run_);
    setTabOrder(run_, cancel_);
    TakeAppearance({{Edit1, TextControlRule{}}});

    FolderBrowseDialog1 = CreateImportFolderDialog(this);
    connect(browse_, &QPushButton::clicked, this, &FolderForm::BrowseClick);
}

void FolderForm::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    Form::showEvent(event);
}

// The check's answer is not needed here: a failing check has told the user.
void FolderForm::BrowseClick() {
    if (!FolderBrowseDialog1->Execute()) return;
    Edit1->setText(FolderBrowseDialog1->Folder());
    First_Control();
}
