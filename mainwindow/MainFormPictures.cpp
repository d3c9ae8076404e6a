// The main window's album-picture commands: attach, remove, the large window, the viewer.
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "mainwindow/Forms.h"
#include "mainwindow/ImageForm.h"
#include "mainwindow/JpegDecoder.h"
#include "mainwindow/JpegEncoder.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/PictureView.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/Pictures.h"
#include "store/StoreError.h"
#include "support/Modal.h"

namespace {

const QString kLargeWindowCaption = QStringLiteral("Картинка: ");

QString performerDashAlbum(const TMainForm& form) {
    return cp1251::decode(form.CurrentPerformer) + QStringLiteral(" - ") +
           cp1251::decode(form.CurrentAlbum);
}

OpenFileRequest pictureFileRequest(const TMainForm& form) {
    return {QStringLiteral("Открытие рисунка: ") + performerDashAlbum(form),
            {QStringLiteral("Все поддерживаемые форматы (*.jpg *.jpeg *.bmp)"),
             QStringLiteral("Картинки  *.jpg, *.jpeg (*.jpg *.jpeg)"),
             QStringLiteral("Картинки  *.bmp (*.bmp)")}};
}

void warnCannotStore(TMainForm& form) {
    ShowMessage(&form, MsgKind::Warning,
                QStringLiteral("Не удаётся сохранить картинку. Скорее всего вы использовали\r"
                               "неразрешённые символы в имени альбома: \" * / : < > ? \\ |."));
}

bool canStore(const TMainForm& form) {
    return CanStoreAlbumPicture(form.StartDir, form.CurrentPerformer, form.CurrentAlbum);
}

void store(const TMainForm& form, const QByteArray& jpeg) {
    StoreAlbumPicture(form.StartDir, form.CurrentPerformer, form.CurrentAlbum, jpeg);
}

// Showing the picture in the main window has already copied it into the large window.
void showInLargeWindow() {
    ImageForm->Image1->show();
}

enum class FirstAttempt { Stored, Stopped, Failed };

// A chosen file that is a JPEG by its content is stored as it is, byte for byte, whatever its
// name says. Only a file that is no JPEG goes on to the second attempt: after a failed read or
// write the second attempt would store a re-encoded copy in place of the user's own bytes, so
// that failure ends the command (StoreError).
FirstAttempt storeAsJpeg(TMainForm& form, const QString& chosen) {
    const QByteArray data = fileio::readAll(chosen);
    if (!LooksLikeJpeg(data)) return FirstAttempt::Failed;
    const QImage picture = DecodeJpeg(data, nullptr);
    if (picture.isNull()) return FirstAttempt::Failed;
    form.ShowPicture(picture);
    if (!canStore(form)) {
        warnCannotStore(form);
        return FirstAttempt::Stopped;
    }
    store(form, data);
    showInLargeWindow();
    return FirstAttempt::Stored;
}

[[noreturn]] void failPicture(const QString& text, const QString& path) {
    throw StoreError::withDescription(text, path);
}

// Reads the chosen file as the picture format its extension names; the failure carries the
// text the picture library gives for it.
QImage loadByExtension(const QString& chosen) {
    const QString extension = QFileInfo(chosen).suffix().toLower();
    const bool bitmap = extension == QLatin1String("bmp");
    if (!bitmap && extension != QLatin1String("jpg") && extension != QLatin1String("jpeg"))
        failPicture(QStringLiteral("Unknown picture file extension (.%1)").arg(extension), chosen);
    const QByteArray data = fileio::readAll(chosen);
    if (bitmap) {
        const QImage picture = QImage::fromData(data, "BMP");
        if (picture.isNull()) failPicture(QStringLiteral("Bitmap image is not valid"), chosen);
        return picture;
    }
    QString error;
    const QImage picture = DecodeJpeg(data, &error);
    if (picture.isNull()) failPicture(error, chosen);
    return picture;
}

// Any other picture is loaded by its extension and stored as a new JPEG. Throws StoreError.
void storeEncoded(TMainForm& form, const QString& chosen) {
    const QImage picture = loadByExtension(chosen);
    form.ShowPicture(picture);
    if (!canStore(form)) {
        warnCannotStore(form);
        return;
    }
    QString error;
    const QByteArray jpeg = EncodeJpeg(picture, kAlbumPictureQuality, &error);
    if (jpeg.isEmpty()) failPicture(error, chosen);
    store(form, jpeg);
    showInLargeWindow();
}

}  // namespace

void TMainForm::AddImage() {
    if (!HasSelectedAlbum()) {
        Inform(this, QStringLiteral("Выберите альбом."));
        return;
    }
    const QString chosen = Modal().openFile(this, pictureFileRequest(*this));
    if (chosen.isEmpty()) return;
    if (HasAlbumPicture(StartDir, CurrentPerformer, CurrentAlbum) &&
        Inform(this, QStringLiteral("Для этого альбома уже есть картинка. Заменить?"),
               Ok | Cancel) != Ok)
        return;
    try {
        if (storeAsJpeg(*this, chosen) != FirstAttempt::Failed) return;
        storeEncoded(*this, chosen);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::DelImageSpeedButtonClick() {
    if (!HasSelectedAlbum() || !HasAlbumPicture(StartDir, CurrentPerformer, CurrentAlbum)) {
        Inform(this, QStringLiteral("Альбом не выбран или у этого альбома нет картинки."));
        return;
    }
    if (ShowMessage(this, MsgKind::Confirm,
                    QStringLiteral("Вы уверены что хотите удалить картинку альбома?\r"
                                   "Востановление будет невозможно!"),
                    Yes | No) != Yes)
        return;
    // A picture that stays on disk stays on screen, and the user hears why.
    try {
        RemoveAlbumPicture(StartDir, CurrentPerformer, CurrentAlbum);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
        return;
    }
    HidePicture();
    ImageForm->Image1->hide();
    ImageForm->setWindowTitle(kLargeWindowCaption);
}

void TMainForm::N1Click() {
    ImageForm->Image1->setPicture(Image->picture());
    ImageForm->setWindowTitle(kLargeWindowCaption + performerDashAlbum(*this));
    ImageForm->show();
    ImageForm->raise();
}

void TMainForm::N7Click() {
    const QString path = AlbumPicturePath(StartDir, CurrentPerformer, CurrentAlbum);
    if (!path.isEmpty()) QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
