#include "store/StorePaths.h"

#include "store/Cp1251.h"
#include "store/StoreError.h"

#include <cstring>

namespace {

QString performerFolder(const QString& startDir, QByteArrayView performer) {
    if (!IsSafePathComponent(performer)) throw StoreNameError(cp1251::decode(performer));
    return startDir + QStringLiteral("/Data/") + cp1251::decode(performer);
}

}  // namespace

bool FitsNameLimit(QByteArrayView name, qsizetype suffix) {
    constexpr qsizetype kNameMax = 255;
    return cp1251::decode(name).toUtf8().size() + suffix <= kNameMax;
}

bool IsSafePathComponent(QByteArrayView name) {
    if (name.isEmpty() || name == "." || name == "..") return false;
    return !name.contains('/') && !name.contains('\0');
}

bool IsPathCharacter(QChar c) {
    return c.unicode() < 0x80 && c.unicode() != 0 &&
           std::strchr(kPathCharacters, char(c.unicode()));
}

bool HoldsPathCharacter(QStringView name) {
    for (QChar c : name)
        if (IsPathCharacter(c)) return true;
    return false;
}

QString PerformerStorePath(const QString& startDir, StoreEntry kind, QByteArrayView performer,
                           QByteArrayView album) {
    switch (kind) {
        case StoreEntry::DataFolder:
            return startDir + QStringLiteral("/Data");
        case StoreEntry::PerformerList:
            return startDir + QStringLiteral("/Data/performers.lrx");
        case StoreEntry::Settings:
            return startDir + QStringLiteral("/Data/Settings.ini");
        case StoreEntry::PerformerFolder:
            return performerFolder(startDir, performer);
        case StoreEntry::AlbumList:
            return performerFolder(startDir, performer) + QStringLiteral("/Albums.lrx");
        case StoreEntry::SongList:
            return performerFolder(startDir, performer) + QStringLiteral("/Songs.lrx");
        case StoreEntry::TextFile:
            return performerFolder(startDir, performer) + QStringLiteral("/Texts.lrx");
        case StoreEntry::PictureFolder:
            return performerFolder(startDir, performer) + QStringLiteral("/Image");
        case StoreEntry::AlbumPicture:
            // The picture is "{album}.jpg": an empty album or "." and ".." still name a file
            // inside the picture folder; only a separator or NUL could leave it.
            if (album.contains('/') || album.contains('\0'))
                throw StoreNameError(cp1251::decode(album));
            return performerFolder(startDir, performer) + QStringLiteral("/Image/") +
                   cp1251::decode(album) + QStringLiteral(".jpg");
    }
    return QString();
}
