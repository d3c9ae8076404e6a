#include "mainwindow/ImageForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "mainwindow/PictureView.h"
#include "session/CatalogueSession.h"
#include "support/ListEntries.h"

TImageForm::TImageForm(CatalogueSession& session, QWidget* parent) : Form(session, parent) {
    setObjectName(QStringLiteral("ImageForm"));
    setWindowTitle(QStringLiteral("Картинка: "));
    setModal(false);
    setSizeGripEnabled(true);
    Image1 = new PictureView(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->hide();  // no picture until one is shown in the main window
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1);
    resize(kStartSize);
    connect(&session_, &CatalogueSession::pictureHidden, Image1, &QWidget::hide);
    connect(&session_, &CatalogueSession::pictureCaptionChanged, this,
            [this](const PictureCaption& caption) { setWindowTitle(PictureCaptionText(caption)); });
    connect(&session_, &CatalogueSession::catalogueChanged, this, [this](CatalogueChange what) {
        if (what == CatalogueChange::PerformerDeleted) Image1->clear();
    });
    connect(&session_, &CatalogueSession::selectionChanged, this, &TImageForm::showSelection);
}

// After the files were read again: the caption and picture of what the main window shows.
void TImageForm::showSelection() {
    setWindowTitle(PictureCaptionText(session_.Caption()));
    if (session_.ShownPicture().isEmpty()) Image1->hide();
}

void TImageForm::TakePicture(const QImage& picture) {
    setWindowTitle(PictureCaptionText(session_.AlbumCaption()));
    Image1->setPicture(picture);
    Image1->show();
}

void TImageForm::ShowLarge(const QImage& picture) {
    Image1->setPicture(picture);
    setWindowTitle(PictureCaptionText(session_.AlbumCaption()));
    show();
    raise();
}

void TImageForm::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    if (!placed_) placeAtStart();
}

// The start size counts the frame, which only exists once the window is on screen; later
// showings keep whatever size and place the user gave the window.
void TImageForm::placeAtStart() {
    placed_ = true;
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(kStartSize - frame);
    if (const QScreen* screen =
            this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect outer(QPoint(0, 0), kStartSize);
        outer.moveCenter(screen->availableGeometry().center());
        move(outer.topLeft());
    }
}
