#include "dialogs/SongForm.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "session/CatalogueSession.h"
#include "store/AppearanceSettings.h"
#include "store/Cp1251.h"
#include "store/Editing.h"
#include "support/Appearance.h"
#include "support/ListEntries.h"
#include "support/MemoLines.h"
#include "support/Modal.h"
#include "support/StorableText.h"

TSongForm::TSongForm(CatalogueSession& session, const Lines& buffer, QWidget* parent)
    : Form(session, parent), buffer_(buffer) {
    setObjectName(QStringLiteral("SongForm"));
    setWindowTitle(QString());
    setSizeGripEnabled(true);
    resize(520, 560);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);

    Panel1 = new QFrame(this);
    Button1Save = new QPushButton(QStringLiteral("Сохранить"), Panel1);
    Button2Can = new QPushButton(QStringLiteral("Отмена"), Panel1);
    Button1Save->setAutoDefault(false);
    Button2Can->setAutoDefault(false);
    auto* buttons = new QHBoxLayout(Panel1);
    buttons->addWidget(Button1Save);
    buttons->addStretch();
    buttons->addWidget(Button2Can);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Memo1, 1);
    layout->addWidget(Panel1);

    connect(Button1Save, &QPushButton::clicked, this, &TSongForm::Button1SaveClick);
    connect(Button2Can, &QPushButton::clicked, this, &TSongForm::Button2CanClick);
}

// The caption names the song being edited.
void TSongForm::showEvent(QShowEvent* event) {
    setWindowTitle(QStringLiteral("Редактор текста песен   -   ") +
                   cp1251::decode(session_.CurrentSong()));
    // A window brought back from the task bar keeps what the user typed.
    if (!event->spontaneous()) SetMemoLines(Memo1, DecodeLines(buffer_));
    Form::showEvent(event);
}

void TSongForm::FormActivate() {
    const Appearance a = ReadAppearance(session_.StartDir());
    ApplyToTextControl(Memo1, a, TextControlRule{true, true, true, true});
    const QColor formColour = ResolveColour(a.formColor);
    ApplyFormColour(this, formColour);
    ApplyFormColour(Panel1, formColour);
}

void TSongForm::Button1SaveClick() {
    const std::optional<Lines> text = EncodeOrRefuse(this, MemoLines(Memo1));
    if (!text) return;
    if (HoldsEndLine(*text, kTextBlockEnd)) {
        Inform(this, QStringLiteral("Текст песни не может содержать строку \"endsong\"."));
        return;
    }
    WidgetFeedback feedback(this);
    if (!session_.SaveSongText(*text, feedback)) return;
    Memo1->clear();
    accept();
}

void TSongForm::Button2CanClick() {
    reject();
}
