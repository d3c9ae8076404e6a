#include "dialogs/AddPerfSelectForm.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "support/DialogLayout.h"
#include "support/Modal.h"

TAddPerfSelectForm::TAddPerfSelectForm(CatalogueSession& session, QWidget* parent)
    : Form(session, parent, kFixedDialogFlags) {
    setObjectName(QStringLiteral("AddPerfSelectForm"));
    setWindowTitle(QStringLiteral("Добавление исполнителя"));

    GroupBox1 = new QGroupBox(this);
    RadioButton1 = new QRadioButton(QStringLiteral("Добавить исполнителя из базы"), GroupBox1);
    RadioButton2 = new QRadioButton(QStringLiteral("Добавить исполнителя вручную"), GroupBox1);
    RadioButton1->setChecked(true);
    auto* choices = new QVBoxLayout(GroupBox1);
    choices->addWidget(RadioButton1);
    choices->addWidget(RadioButton2);

    Button1 = new QPushButton(QStringLiteral("Дальше >>>"), this);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1->setDefault(true);
    LayOutFixedDialog(this, {GroupBox1}, {Button1, Button2});

    connect(Button1, &QPushButton::clicked, this, &TAddPerfSelectForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TAddPerfSelectForm::Button2Click);
}

void TAddPerfSelectForm::FormActivate() {
    RadioButton1->setChecked(true);
}

void TAddPerfSelectForm::Button1Click() {
    accept();
    if (RadioButton1->isChecked())
        Modal().exec(fromBase_);
    else
        Modal().exec(byHand_);
}

void TAddPerfSelectForm::Button2Click() {
    reject();
}
