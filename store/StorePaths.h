#pragma once

#include <QByteArrayView>
#include <QString>

// The entries of the data folder. Names arrive as the stored Windows-1251 bytes; on disk a
// file or folder carries the UTF-8 form of that name.
enum class StoreEntry {
    PerformerList,    // Data/performers.lrx
    Settings,         // Data/Settings.ini
    DataFolder,       // Data
    PerformerFolder,  // Data/{performer}
    AlbumList,        // Data/{performer}/Albums.lrx
    SongList,         // Data/{performer}/Songs.lrx
    TextFile,         // Data/{performer}/Texts.lrx
    PictureFolder,    // Data/{performer}/Image
    AlbumPicture,     // Data/{performer}/Image/{album}.jpg
};

// The names of the layout, each spelled only here.
inline const QString kDataFolderName = QStringLiteral("Data");
inline const QString kPerformerListName = QStringLiteral("performers.lrx");
inline const QString kSettingsName = QStringLiteral("Settings.ini");
inline const QString kAlbumListName = QStringLiteral("Albums.lrx");
inline const QString kSongListName = QStringLiteral("Songs.lrx");
inline const QString kTextFileName = QStringLiteral("Texts.lrx");
inline const QString kPictureFolderName = QStringLiteral("Image");
inline const QString kPictureSuffix = QStringLiteral(".jpg");

// The three line files of a performer folder, in the order they are copied.
inline constexpr StoreEntry kPerformerLineFiles[] = {StoreEntry::AlbumList, StoreEntry::SongList,
                                                     StoreEntry::TextFile};
// The name of a line file or of the picture folder inside the performer folder.
QString PerformerEntryName(StoreEntry kind);

// Forms the path of one entry below startDir. A performer name that would leave the data
// folder ("", ".", "..", holding "/" or NUL) and an album name that would leave the picture
// folder ("/" or NUL inside) throw StoreNameError; nothing touches the file system here.
QString PerformerStorePath(const QString& startDir, StoreEntry kind, QByteArrayView performer = {},
                           QByteArrayView album = {});

// True when the name's form on disk (UTF-8), followed by `suffix` bytes, fits the platform's
// limit for one file or folder name (255 bytes). A Windows-1251 name of 200 letters already
// takes 400 bytes on disk.
bool FitsNameLimit(QByteArrayView name, qsizetype suffix = 0);

// True when the name can be the name of a folder or file inside its folder.
bool IsSafePathComponent(QByteArrayView name);

// The nine characters no performer or album name may hold: \ / : * ? " < > |
bool IsPathCharacter(QChar c);
bool HoldsPathCharacter(QStringView name);
inline constexpr char kPathCharacters[] = "\\/:*?\"<>|";
