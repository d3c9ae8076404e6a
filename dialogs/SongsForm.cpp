#include "dialogs/SongsForm.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "session/CatalogueSession.h"
#include "store/AppearanceSettings.h"
#include "store/Editing.h"
#include "support/Appearance.h"
#include "support/DialogLayout.h"
#include "support/ListEntries.h"
#include "support/MemoLines.h"
#include "support/Modal.h"
#include "support/StorableText.h"

TSongsForm::TSongsForm(CatalogueSession& session, const Lines& buffer, QWidget* parent)
    : Form(session, parent, kFixedDialogFlags), buffer_(buffer) {
    setObjectName(QStringLiteral("SongsForm"));
    setWindowTitle(QStringLiteral("Редактор списка песен"));

    Memo1 = NewListEditor(this);
    Button1 = new QPushButton(QStringLiteral("Сохранить"), this);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);

    LayOutFixedDialog(this, {Memo1}, {Button1, Button2});

    connect(Button1, &QPushButton::clicked, this, &TSongsForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TSongsForm::Button2Click);
}

void TSongsForm::showEvent(QShowEvent* event) {
    // A window brought back from the task bar keeps what the user typed.
    if (!event->spontaneous()) SetMemoLines(Memo1, DecodeLines(buffer_));
    Form::showEvent(event);
}

void TSongsForm::FormActivate() {
    const Appearance a = ReadAppearance(session_.StartDir());
    ApplyToTextControl(Memo1, a, TextControlRule{true, false, true, true});
    ApplyFormColour(this, ResolveColour(a.formColor));
}

void TSongsForm::Button1Click() {
    const std::optional<Lines> songs = EncodeOrRefuse(this, MemoLines(Memo1));
    if (!songs) return;
    if (HoldsEndLine(*songs, kSongBlockEnd)) {
        Inform(this, QStringLiteral("Песня не может называться \"endalbum\"."));
        return;
    }
    WidgetFeedback feedback(this);
    if (!session_.SaveSongList(*songs, feedback)) return;
    Memo1->clear();
    accept();
}

void TSongsForm::Button2Click() {
    Memo1->clear();
    reject();
}
