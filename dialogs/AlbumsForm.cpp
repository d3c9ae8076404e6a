#include "dialogs/AlbumsForm.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "session/CatalogueSession.h"
#include "store/AppearanceSettings.h"
#include "support/Appearance.h"
#include "support/DialogLayout.h"
#include "support/ListEntries.h"
#include "support/MemoLines.h"
#include "support/Modal.h"
#include "support/PathCharFilter.h"
#include "support/StorableText.h"

TAlbumsForm::TAlbumsForm(CatalogueSession& session, const Lines& buffer, QWidget* parent)
    : Form(session, parent, kFixedDialogFlags), buffer_(buffer) {
    setObjectName(QStringLiteral("AlbumsForm"));
    setWindowTitle(QStringLiteral("Редактор списка альбомов"));

    Memo1 = NewListEditor(this);
    PathCharFilter::installOn(Memo1);
    SaveButton = new QPushButton(QStringLiteral("Сохранить"), this);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    SaveButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);

    LayOutFixedDialog(this, {Memo1}, {SaveButton, CancelButton});

    connect(SaveButton, &QPushButton::clicked, this, &TAlbumsForm::SaveButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TAlbumsForm::CancelButtonClick);
}

void TAlbumsForm::showEvent(QShowEvent* event) {
    // A window brought back from the task bar keeps what the user typed.
    if (!event->spontaneous()) SetMemoLines(Memo1, DecodeLines(buffer_));
    Form::showEvent(event);
}

void TAlbumsForm::FormActivate() {
    const Appearance a = ReadAppearance(session_.StartDir());
    ApplyToTextControl(Memo1, a, TextControlRule{true, false, true, true});
    ApplyFormColour(this, ResolveColour(a.formColor));
}

void TAlbumsForm::SaveButtonClick() {
    QStringList typed = MemoLines(Memo1);
    typed.removeAll(QString());
    SetMemoLines(Memo1, typed);
    const std::optional<Lines> albums = EncodeOrRefuse(this, typed);
    if (!albums) return;
    WidgetFeedback feedback(this);
    if (session_.SaveAlbumList(*albums, feedback)) accept();
}

void TAlbumsForm::CancelButtonClick() {
    reject();
}

void TAlbumsForm::done(int result) {
    Memo1->clear();
    Form::done(result);
}
