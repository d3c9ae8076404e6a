#include "import/SongScan.h"

#include <QCollator>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>

#include "import/LyricText.h"
#include "import/MusicLyrics.h"
#include "import/RtfReader.h"
#include "import/SongFormats.h"
#include "store/Catalogue.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/PerformerCatalogue.h"
#include "store/PerformerRepository.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

namespace {

const QString kTxt = QStringLiteral(".txt");
const QString kRtf = QStringLiteral(".rtf");
const QString kCancelled = QStringLiteral("\rСканирование отменено, данные не изменены.");

QString Join(const QString& folder, const QString& name) {
    // Joined as written: a scan folder typed with a trailing "/" gives "//", which is harmless.
    return folder + u'/' + name;
}

// The platform lists a folder in no particular order; people number their albums.
QCollator MakeNaturalCollator() {
    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

// Each name's collation key is made once: comparing keys costs far less than comparing the
// names through the collator at every step of the sort.
void SortNaturally(QStringList& names) {
    static const QCollator collator = MakeNaturalCollator();
    std::vector<std::pair<QCollatorSortKey, QString>> keyed;
    keyed.reserve(size_t(names.size()));
    for (QString& name : names) keyed.emplace_back(collator.sortKey(name), std::move(name));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : a.second < b.second;
    });
    for (qsizetype i = 0; i < names.size(); ++i) names[i] = std::move(keyed[size_t(i)].second);
}

QStringList SortedNaturally(QStringList names) {
    SortNaturally(names);
    return names;
}

// Names like Cover.jpg, Notes.txt or .ab are files of the scan folder, not albums.
bool IsAlbumEntryName(const QString& name) {
    if (name.size() < 4) return !name.startsWith(u'.');
    return name[name.size() - 4] != u'.';
}

QStringList AlbumEntries(const QString& scanFolder) {
    QStringList entries = SortedNaturally(
        fileio::listDir(scanFolder, int(fileio::Listing::Files) | int(fileio::Listing::Dirs)));
    entries.removeIf([](const QString& entry) { return !IsAlbumEntryName(entry); });
    return entries;
}

// An album entry that is a file (README, say) is no folder and holds no songs: null.
std::unique_ptr<fileio::OpenFolder> OpenAlbumFolder(const QString& path) {
    try {
        return std::make_unique<fileio::OpenFolder>(path);
    } catch (const StoreError& e) {
        if (e.error() == ENOTDIR) return nullptr;
        throw;
    }
}

// Hidden lyric files count as songs; only regular files are read (a pipe would hang the scan).
// The .txt files come first, then the .rtf files, then the song files of other programs.
QList<ScanSong> SongFilesIn(fileio::OpenFolder& album) {
    const QStringList files =
        SortedNaturally(album.list(int(fileio::Listing::Files) | int(fileio::Listing::Hidden)));
    QList<ScanSong> txt, rtf, others;
    for (const QString& file : files) {
        const SongFileKind kind = SongFileKindOf(file);
        if (kind == SongFileKind::Other) continue;
        QList<ScanSong>& songs = kind == SongFileKind::Txt   ? txt
                                 : kind == SongFileKind::Rtf ? rtf
                                                             : others;
        songs.append({WithoutExtension(file), file, kind});
    }
    return txt + rtf + others;
}

}  // namespace

QList<ScanAlbum> CollectScanAlbums(const QString& scanFolder) {
    QList<ScanAlbum> albums;
    for (const QString& entry : AlbumEntries(scanFolder)) {
        const std::unique_ptr<fileio::OpenFolder> folder = OpenAlbumFolder(Join(scanFolder, entry));
        albums.append({entry, folder ? SongFilesIn(*folder) : QList<ScanSong>()});
    }
    return albums;
}

bool IsScannableFolder(const QString& scanFolder) {
    QList<ScanAlbum> albums;
    try {
        albums = CollectScanAlbums(scanFolder);
    } catch (const StoreError&) {
        return false;
    }
    return std::any_of(albums.begin(), albums.end(),
                       [](const ScanAlbum& a) { return !a.songs.isEmpty(); });
}

namespace {

// Where a song is read from. Its path is made only for a message that names it: a scan reads
// thousands of songs and refuses hardly any.
struct SongSource {
    const fileio::OpenFolder& folder;
    QString fileName;  // empty: the folder itself (the songs of its music files)
    QString path() const { return fileName.isEmpty() ? folder.path() : folder.pathOf(fileName); }
};

// A name stored on one line of a catalogue file: Windows-1251, and no character that would
// break the line or end the file for a reader. `path()` names where it comes from.
template <typename Path>
QByteArray StoredName(const QString& name, const Path& path) {
    cp1251::Encoded encoded = cp1251::encode(name);
    QString refused = encoded.unencodable;
    for (const QChar c : name)
        if ((c == u'\r' || c == u'\n' || c == QChar(0x1a)) && !refused.contains(c))
            refused.append(c);
    if (!refused.isEmpty())
        throw ScanRefused(QStringLiteral("Имя ") + path() +
                          QStringLiteral(" содержит символы, которые нельзя сохранить в "
                                         "каталоге: ") +
                          cp1251::describeCharacters(refused) + kCancelled);
    return encoded.bytes;
}

QByteArray StoredSongName(const QString& name, const SongSource& source) {
    const QByteArray stored = StoredName(name, [&] { return source.path(); });
    if (stored == kSongBlockEnd)
        throw ScanRefused(QStringLiteral("Песню из файла ") + source.path() +
                          QStringLiteral(" нельзя сохранить: имя \"endalbum\" завершает список "
                                         "песен альбома.") +
                          kCancelled);
    return stored;
}

// The song's own file of one kind: the name with exactly this extension, or else the first
// listed file whose extension differs only in letter case (file names ignore case where lyric
// folders come from). Empty when there is none.
QString SongFileName(const QList<ScanSong>& songs, const QString& name, SongFileKind kind,
                     const QString& extension) {
    const ScanSong* caseVariant = nullptr;
    for (const ScanSong& s : songs) {
        if (s.kind != kind || s.name != name) continue;
        if (s.fileName.endsWith(extension)) return s.fileName;
        if (!caseVariant) caseVariant = &s;
    }
    return caseVariant ? caseVariant->fileName : QString();
}

struct SongFileText {
    CatalogueText text;
    SongSource source;
};

// The .txt file first; when it is missing or cannot be read, the .rtf file.
SongFileText ReadSongText(const fileio::OpenFolder& album, const QList<ScanSong>& songs,
                          const QString& name) {
    const QString txt = SongFileName(songs, name, SongFileKind::Txt, kTxt);
    if (!txt.isEmpty()) {
        try {
            return {PlainLyricText(album.readAll(txt)), {album, txt}};
        } catch (const StoreError&) {
            // an unreadable .txt gives way to the .rtf file of the same name
        }
    }
    QString rtf = SongFileName(songs, name, SongFileKind::Rtf, kRtf);
    if (rtf.isEmpty()) rtf = name + kRtf;
    return {RtfToPlainText(album.readAll(rtf)), {album, rtf}};
}

// A line "endsong" would end the song's text block early for every reader.
void RefuseTextBlockEnd(const SongFileText& song) {
    if (FindWrittenLine(song.text.written, kTextBlockEnd) >= 0)
        throw ScanRefused(QStringLiteral("Текст из файла ") + song.source.path() +
                          QStringLiteral(" нельзя сохранить: строка \"endsong\" завершает "
                                         "текст песни.") +
                          kCancelled);
}

// The text file's buffer is reserved large at once: address space costs nothing until it is
// written, while a buffer of a few megabytes that grows song by song is copied again and again
// (a third of the scan's own work for 3,000 songs).
constexpr qsizetype kTextFileRoom = 16 << 20;

struct ScanResult {
    explicit ScanResult(QByteArrayView performer)
        : catalogue(performer.toByteArray(), kTextFileRoom) {}
    CatalogueBuilder catalogue;
    Lines albums;
    QStringList replacedCharacters;
    QStringList unreadFiles;
    int musicWithoutLyrics = 0;
};

void AddSong(ScanResult& out, const QString& album, const QString& song, const QByteArray& songName,
             const SongFileText& read) {
    RefuseTextBlockEnd(read);
    out.catalogue.addSong(songName, read.text.written);
    if (!read.text.unencodable.isEmpty())
        out.replacedCharacters.append(album + QStringLiteral(" / ") + song + QStringLiteral(": ") +
                                      cp1251::describeCharacters(read.text.unencodable));
}

// The songs of a song file of another program. A file that cannot be read is passed over and
// listed, so that one damaged file does not keep a collection out.
void AddSongFormatFile(ScanResult& out, const fileio::OpenFolder& albumFolder, const QString& album,
                       const ScanSong& file) {
    const SongSource source{albumFolder, file.fileName};
    QList<ScannedSong> songs;
    try {
        songs = ReadSongFormatFile(albumFolder.readAll(file.fileName), file.fileName);
    } catch (const SongFileRefused& refused) {
        out.unreadFiles.append(source.path() + QStringLiteral(": ") + refused.reason());
        return;
    }
    for (ScannedSong& song : songs) {
        if (song.cut) out.unreadFiles.append(CutTextNote(source.path()));
        AddSong(out, album, song.name, StoredSongName(song.name, source),
                {std::move(song.text), source});
    }
}

// The songs of the album's music files, one per track, after its other songs.
void AddMusic(ScanResult& out, const fileio::OpenFolder& albumFolder, const QString& album,
              const QStringList& files) {
    if (files.isEmpty()) return;
    MusicAlbum music = ReadMusicAlbum(albumFolder, files);
    out.unreadFiles += music.unreadFiles;
    out.musicWithoutLyrics += music.withoutLyrics;
    const SongSource source{albumFolder, QString()};
    for (const ReadSong& song : music.songs)
        AddSong(out, album, song.name, StoredSongName(song.name, source),
                {CatalogueLines(song.lines), source});
}

// The songs of one album, read through the album's folder held open.
void AddSongs(ScanResult& out, const fileio::OpenFolder& albumFolder, const QString& album,
              const QList<ScanSong>& songs) {
    QStringList music;
    for (const ScanSong& song : songs) {
        if (song.kind == SongFileKind::Music || song.kind == SongFileKind::Lrc) {
            music.append(song.fileName);
        } else if (IsSongFormatFile(song.kind)) {
            AddSongFormatFile(out, albumFolder, album, song);
        } else {
            const QByteArray name = StoredSongName(song.name, {albumFolder, song.fileName});
            AddSong(out, album, song.name, name, ReadSongText(albumFolder, songs, song.name));
        }
    }
    AddMusic(out, albumFolder, album, music);
}

// Each album folder is opened once, for its listing and for reading its songs.
void AddAlbum(ScanResult& out, const QString& scanFolder, const QString& album) {
    const QString folder = Join(scanFolder, album);
    // A folder name is an album name as it stands, ":" or "?" included.
    const QByteArray albumName = StoredName(album, [&] { return folder; });
    out.albums.append(albumName);
    out.catalogue.addAlbum(albumName);
    if (const std::unique_ptr<fileio::OpenFolder> albumFolder = OpenAlbumFolder(folder))
        AddSongs(out, *albumFolder, album, SongFilesIn(*albumFolder));
}

// Only the files directly in the picture folder go; sub-folders and their contents stay. A
// picture that cannot be deleted is passed over; the description of the first failure is
// returned (empty when all went).
QString DeletePictures(FileSetChange& change, const QString& folder) {
    QStringList names;
    try {
        names = fileio::listDir(folder, int(fileio::Listing::Files) | int(fileio::Listing::Hidden));
    } catch (const StoreError& e) {
        // A performer without a picture folder has no pictures to lose.
        return e.error() == ENOENT ? QString() : e.description();
    }
    QString firstFailure;
    for (const QString& name : names) {
        try {
            change.remove(folder + u'/' + name);
        } catch (const StoreError& e) {
            if (firstFailure.isEmpty()) firstFailure = e.description();
        }
    }
    return firstFailure;
}

}  // namespace

ScanOutcome ScanSongsIntoPerformer(FileSetChange& change, const PerformerRepository& repository,
                                   QByteArrayView performer, const QString& scanFolder) {
    repository.path(StoreEntry::PerformerFolder, performer);  // refuses a bad name
    ScanResult read(performer);
    for (const QString& album : AlbumEntries(scanFolder)) AddAlbum(read, scanFolder, album);
    // The three files are replaced one after the other; should a later one fail, the change
    // gives the earlier ones their old bytes back, so the catalogue never mixes an old and a
    // new scan.
    const PerformerCatalogue catalogue = read.catalogue.finish();
    change.replace(repository.path(StoreEntry::AlbumList, performer), catalogue.albumList.bytes());
    change.replace(repository.path(StoreEntry::SongList, performer), catalogue.songList.bytes());
    change.replaceLast(repository.path(StoreEntry::TextFile, performer),
                       catalogue.textFile.bytes());
    const QString picturesLeft =
        DeletePictures(change, repository.path(StoreEntry::PictureFolder, performer));
    return {read.albums, read.replacedCharacters, picturesLeft, read.unreadFiles,
            read.musicWithoutLyrics};
}
