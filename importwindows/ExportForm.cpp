#include "importwindows/ExportForm.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "session/CatalogueSession.h"
#include "session/ImportCommands.h"
#include "store/Cp1251.h"
#include "support/DialogLayout.h"
#include "support/Modal.h"

namespace {

QPushButton* NewButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    return button;
}

QLabel* NewLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

TExportForm::TExportForm(CatalogueSession& session, QWidget* parent)
    : Form(session, parent, kFixedDialogFlags) {
    setObjectName(QStringLiteral("ExportForm"));
    setWindowTitle(QStringLiteral("Экспорт исполнителя"));
    PerformerLabel = new QLabel(this);
    FolderEdit = new QLineEdit(this);
    FolderEdit->setAccessibleName(QStringLiteral("Папка"));
    FolderEdit->setMinimumWidth(300);
    BrowseButton = NewButton(QStringLiteral("Обзор…"), this);
    FormatComboBox = new QComboBox(this);
    FormatComboBox->setAccessibleName(QStringLiteral("Формат"));
    FormatComboBox->addItems({QStringLiteral("Текстовые файлы (.txt)"),
                              QStringLiteral("OpenLyrics (.xml)"),
                              QStringLiteral("ChordPro (.cho)")});
    ExportButton = NewButton(QStringLiteral("Экспорт"), this);
    ExportButton->setDefault(true);
    CancelButton = NewButton(QStringLiteral("Отмена"), this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(PerformerLabel, 0, 0, 1, 3);
    grid->addWidget(NewLabel(QStringLiteral("Папка:"), FolderEdit, this), 1, 0);
    grid->addWidget(FolderEdit, 1, 1);
    grid->addWidget(BrowseButton, 1, 2);
    grid->addWidget(NewLabel(QStringLiteral("Формат:"), FormatComboBox, this), 2, 0);
    grid->addWidget(FormatComboBox, 2, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ExportButton);
    buttons->addWidget(CancelButton);
    grid->addLayout(buttons, 3, 0, 1, 3);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(FolderEdit, BrowseButton);
    setTabOrder(BrowseButton, FormatComboBox);
    setTabOrder(FormatComboBox, ExportButton);
    setTabOrder(ExportButton, CancelButton);
    TakeAppearance({{FolderEdit, TextControlRule{}}});

    connect(BrowseButton, &QPushButton::clicked, this, &TExportForm::BrowseButtonClick);
    connect(ExportButton, &QPushButton::clicked, this, &TExportForm::ExportButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TExportForm::close);
}

void TExportForm::FormActivate() {
    performer_ = session_.SelectedPerformer();
    PerformerLabel->setText(QStringLiteral("Исполнитель: ") + cp1251::decode(performer_));
}

void TExportForm::BrowseButtonClick() {
    const QString start = lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_;
    const QString folder = Modal().chooseFolder(this, QStringLiteral("Папка для экспорта"), start);
    if (!folder.isEmpty()) FolderEdit->setText(folder);
}

void TExportForm::ExportButtonClick() {
    const QString folder = FolderEdit->text();
    ExportCommand command(performer_, folder, ExportFormat(FormatComboBox->currentIndex()));
    if (!Done(command)) return;
    lastFolder_ = folder;
    close();
}
