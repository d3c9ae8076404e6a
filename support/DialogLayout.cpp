#include "support/DialogLayout.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

void LayOutFixedDialog(QDialog* dialog, std::initializer_list<QWidget*> controls,
                       std::initializer_list<QWidget*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* button : buttons) row->addWidget(button);
    auto* layout = new QVBoxLayout(dialog);
    for (QWidget* control : controls) layout->addWidget(control);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QPlainTextEdit* NewListEditor(QWidget* parent) {
    auto* editor = new QPlainTextEdit(parent);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setTabChangesFocus(true);
    editor->setFixedSize(320, 300);
    return editor;
}
