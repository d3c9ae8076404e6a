#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The rules of attaching a chosen file as an album picture, without a window: where the
// picture is shown and stored is the caller's.
class PictureDestination {
  public:
    virtual ~PictureDestination() = default;
    // The picture as read, shown before anything is stored.
    virtual void show(const QImage& picture) = 0;
    // Whether the album's picture can be stored; when not, the user is warned and nothing is
    // written.
    virtual bool canStore() = 0;
    virtual void warnCannotStore() = 0;
    // Throws StoreError.
    virtual void store(const QByteArray& jpeg) = 0;
};

// A chosen file that is a JPEG by its content is stored as it is, byte for byte, whatever its
// name says. Any other picture is read as the format its extension names (.jpg, .jpeg, .bmp)
// and stored as a new JPEG. Throws StoreError, with the picture library's text for a file it
// cannot read.
void ImportAlbumPicture(const QString& chosen, PictureDestination& destination);
