#include "store/StorePaths.h"

#include "store/Cp1251.h"
#include "store/StoreError.h"

#include <cstring>

namespace {

QString performerFolder(const QString& startDir, QByteArrayView performer) {
    if (!IsSafePathComponent(performer)) throw StoreNameError(cp1251::decode(performer));
    return startDir + u'/' + kDataFolderName + u'/' + cp1251::decode(performer);
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

QString PerformerEntryName(StoreEntry kind) {
    switch (kind) {
        case StoreEntry::AlbumList:
            return kAlbumListName;
        case StoreEntry::SongList:
            return kSongListName;
        case StoreEntry::TextFile:
            return kTextFileName;
        case StoreEntry::PictureFolder:
            return kPictureFolderName;
        default:
            return QString();
    }
}

QString PerformerStorePath(const QString& startDir, StoreEntry kind, QByteArrayView performer,
                           QByteArrayView album) {
    const QString data = startDir + u'/' + kDataFolderName;
    switch (kind) {
        case StoreEntry::DataFolder:
            return data;
        case StoreEntry::PerformerList:
            return data + u'/' + kPerformerListName;
        case StoreEntry::Settings:
            return data + u'/' + kSettingsName;
        case StoreEntry::PerformerFolder:
            return performerFolder(startDir, performer);
        case StoreEntry::AlbumList:
        case StoreEntry::SongList:
        case StoreEntry::TextFile:
        case StoreEntry::PictureFolder:
            return performerFolder(startDir, performer) + u'/' + PerformerEntryName(kind);
        case StoreEntry::AlbumPicture:
            // The picture is "{album}.jpg": an empty album or "." and ".." still name a file
            // inside the picture folder; only a separator or NUL could leave it.
            if (album.contains('/') || album.contains('\0'))
                throw StoreNameError(cp1251::decode(album));
            return performerFolder(startDir, performer) + u'/' + kPictureFolderName + u'/' +
                   cp1251::decode(album) + kPictureSuffix;
    }
    return QString();
}
