#include "support/PictureImport.h"

#include <QFileInfo>

#include "store/FileIo.h"
#include "store/StoreError.h"
#include "support/JpegDecoder.h"
#include "support/JpegEncoder.h"

namespace {

enum class FirstAttempt { Stored, Stopped, Failed };

// Only a file that is no JPEG goes on to the second attempt: after a failed read or write the
// second attempt would store a re-encoded copy in place of the user's own bytes, so that
// failure ends the command (StoreError).
FirstAttempt storeAsJpeg(const QString& chosen, PictureDestination& to) {
    const QByteArray data = fileio::readAll(chosen);
    if (!LooksLikeJpeg(data)) return FirstAttempt::Failed;
    const QImage picture = DecodeJpeg(data, nullptr);
    if (picture.isNull()) return FirstAttempt::Failed;
    to.show(picture);
    if (!to.canStore()) {
        to.warnCannotStore();
        return FirstAttempt::Stopped;
    }
    to.store(data);
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

void storeEncoded(const QString& chosen, PictureDestination& to) {
    const QImage picture = loadByExtension(chosen);
    to.show(picture);
    if (!to.canStore()) {
        to.warnCannotStore();
        return;
    }
    QString error;
    const QByteArray jpeg = EncodeJpeg(picture, kAlbumPictureQuality, &error);
    if (jpeg.isEmpty()) failPicture(error, chosen);
    to.store(jpeg);
}

}  // namespace

void ImportAlbumPicture(const QString& chosen, PictureDestination& destination) {
    if (storeAsJpeg(chosen, destination) != FirstAttempt::Failed) return;
    storeEncoded(chosen, destination);
}
