#include "dialogs/LineEditorForm.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "support/DialogLayout.h"
#include "support/ListEntries.h"
#include "support/MemoLines.h"
#include "support/PathCharFilter.h"
#include "support/StorableText.h"

LineEditorForm::LineEditorForm(CatalogueSession& session, const EditorBuffer& buffer,
                               const Design& design, QWidget* parent)
    : Form(session, parent, design.resizable ? Qt::WindowFlags() : kFixedDialogFlags),
      buffer_(buffer),
      design_(design) {
    saveButton_ = new QPushButton(QStringLiteral("Сохранить"));
    cancelButton_ = new QPushButton(QStringLiteral("Отмена"));
    saveButton_->setAutoDefault(false);
    cancelButton_->setAutoDefault(false);
    if (design.resizable)
        layOutResizable();
    else
        layOutFixed();
    if (design.pathCharFilter) PathCharFilter::installOn(Memo1);
    TakeAppearance({{Memo1, TextControlRule{true, design.fontSize, true, true}}},
                   panel_ ? QList<QWidget*>{panel_} : QList<QWidget*>{});
    connect(saveButton_, &QPushButton::clicked, this, &LineEditorForm::SaveClick);
    connect(cancelButton_, &QPushButton::clicked, this, &LineEditorForm::CancelClick);
}

void LineEditorForm::layOutFixed() {
    Memo1 = NewListEditor(this);
    LayOutFixedDialog(this, {Memo1}, {saveButton_, cancelButton_});
}

void LineEditorForm::layOutResizable() {
    setSizeGripEnabled(true);
    resize(520, 560);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    panel_ = new QFrame(this);
    auto* buttons = new QHBoxLayout(panel_);
    buttons->addWidget(saveButton_);
    buttons->addStretch();
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Memo1, 1);
    layout->addWidget(panel_);
}

void LineEditorForm::showEvent(QShowEvent* event) {
    // A window brought back from the task bar keeps what the user typed.
    if (!event->spontaneous()) {
        SetMemoLines(Memo1, DecodeLines(buffer_.lines));
        session_.EditorOpened();
    }
    Form::showEvent(event);
}

QStringList LineEditorForm::Typed() {
    return MemoLines(Memo1);
}

void LineEditorForm::SaveClick() {
    const std::optional<Lines> lines = EncodeOrRefuse(this, Typed());
    if (!lines || !Save(buffer_, *lines)) return;
    Memo1->clear();
    accept();
}

void LineEditorForm::CancelClick() {
    reject();
}

void LineEditorForm::done(int result) {
    if (design_.emptiedWhenDone) Memo1->clear();
    session_.EditorClosed();
    Form::done(result);
}
