#include "import/SongScan.h"

#include <QCollator>
#include <algorithm>
#include <cerrno>
#include <vector>

#include "import/RtfReader.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
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

QStringList ListSorted(const QString& folder, int what) {
    QStringList names = fileio::listDir(folder, what);
    SortNaturally(names);
    return names;
}

// Names like Cover.jpg, Notes.txt or .ab are files of the scan folder, not albums.
bool IsAlbumEntryName(const QString& name) {
    if (name.size() < 4) return !name.startsWith(u'.');
    return name[name.size() - 4] != u'.';
}

QList<ScanSong> SongFilesWithExtension(const QStringList& files, const QString& extension) {
    QList<ScanSong> songs;
    for (const QString& file : files)
        if (file.endsWith(extension, Qt::CaseInsensitive)) songs.append({file.chopped(4), file});
    return songs;
}

// Hidden lyric files count as songs; only regular files are read (a pipe would hang the scan).
QList<ScanSong> CollectSongFiles(const QString& albumFolder) {
    if (!fileio::isDir(albumFolder)) return {};
    const QStringList files =
        ListSorted(albumFolder, int(fileio::Listing::Files) | int(fileio::Listing::Hidden));
    return SongFilesWithExtension(files, kTxt) + SongFilesWithExtension(files, kRtf);
}

}  // namespace

QList<ScanAlbum> CollectScanAlbums(const QString& scanFolder) {
    QList<ScanAlbum> albums;
    const QStringList entries =
        ListSorted(scanFolder, int(fileio::Listing::Files) | int(fileio::Listing::Dirs));
    for (const QString& entry : entries)
        if (IsAlbumEntryName(entry))
            albums.append({entry, CollectSongFiles(Join(scanFolder, entry))});
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

// A name stored on one line of a catalogue file: Windows-1251, and no character that would
// break the line or end the file for a reader.
QByteArray StoredName(const QString& name, const QString& path) {
    cp1251::Encoded encoded = cp1251::encode(name);
    QString refused = encoded.unencodable;
    for (const QChar c : name)
        if ((c == u'\r' || c == u'\n' || c == QChar(0x1a)) && !refused.contains(c))
            refused.append(c);
    if (!refused.isEmpty())
        throw ScanRefused(QStringLiteral("Имя ") + path +
                          QStringLiteral(" содержит символы, которые нельзя сохранить в "
                                         "каталоге: ") +
                          cp1251::describeCharacters(refused) + kCancelled);
    return encoded.bytes;
}

QByteArray StoredAlbumName(const QString& name, const QString& path) {
    if (HoldsPathCharacter(name))
        throw ScanRefused(QStringLiteral("Имя альбома ") + path +
                          QStringLiteral(" содержит недопустимые символы: \\ / : * ? \" < > |") +
                          kCancelled);
    return StoredName(name, path);
}

QByteArray StoredSongName(const QString& name, const QString& path) {
    const QByteArray stored = StoredName(name, path);
    if (stored == kSongBlockEnd)
        throw ScanRefused(QStringLiteral("Песню из файла ") + path +
                          QStringLiteral(" нельзя сохранить: имя \"endalbum\" завершает список "
                                         "песен альбома.") +
                          kCancelled);
    return stored;
}

// The song's own file of one kind: the name with exactly this extension, or else the listed
// file whose extension differs only in letter case (file names ignore case where lyric
// folders come from).
QString SongFilePath(const QString& albumFolder, const QList<ScanSong>& songs, const QString& name,
                     const QString& extension) {
    const QString exact = name + extension;
    for (const ScanSong& s : songs)
        if (s.fileName == exact) return Join(albumFolder, exact);
    for (const ScanSong& s : songs)
        if (s.name == name && s.fileName.endsWith(extension, Qt::CaseInsensitive))
            return Join(albumFolder, s.fileName);
    return QString();
}

// The text of one song, ready to store. A Windows-1251 lyric file is kept as the lines of the
// file itself (no copy per line: a scan reads thousands of files); a converted one as its lines.
class SongText {
  public:
    SongText(RecordLines lines, QString path) : plain_(std::move(lines)), path_(std::move(path)) {}
    SongText(CatalogueText text, QString path)
        : converted_(std::move(text)), isConverted_(true), path_(std::move(path)) {}

    const QString& path() const { return path_; }
    const QString& unencodable() const { return converted_.unencodable; }

    template <typename Visit>
    void forEachLine(Visit visit) const {
        if (isConverted_) {
            for (const QByteArray& line : converted_.lines) visit(QByteArrayView(line));
        } else {
            for (const QByteArrayView line : plain_) visit(line);
        }
    }

  private:
    RecordLines plain_;
    CatalogueText converted_;
    bool isConverted_ = false;
    QString path_;
};

SongText ReadTextFile(const QString& path) {
    QByteArray bytes = fileio::readAll(path);
    if (LooksLikeUtf8(bytes)) return SongText(PlainLyricText(bytes), path);
    return SongText(RecordLines(std::move(bytes)), path);
}

// The .txt file first; when it is missing or cannot be read, the .rtf file.
SongText ReadSongText(const QString& albumFolder, const QList<ScanSong>& songs,
                      const QString& name) {
    const QString txt = SongFilePath(albumFolder, songs, name, kTxt);
    if (!txt.isEmpty()) {
        try {
            return ReadTextFile(txt);
        } catch (const StoreError&) {
            // an unreadable .txt gives way to the .rtf file of the same name
        }
    }
    QString rtf = SongFilePath(albumFolder, songs, name, kRtf);
    if (rtf.isEmpty()) rtf = Join(albumFolder, name + kRtf);
    return SongText(RtfToPlainText(fileio::readAll(rtf)), rtf);
}

void AppendLine(QByteArray& bytes, QByteArrayView line) {
    bytes.append(line);
    bytes.append("\r\n", 2);
}

// Appends the song's text block; a line "endsong" would end it early for every reader.
void AppendTextBlock(QByteArray& texts, QByteArrayView header, const SongText& song) {
    AppendLine(texts, header);
    song.forEachLine([&](QByteArrayView line) {
        if (line == kTextBlockEnd)
            throw ScanRefused(QStringLiteral("Текст из файла ") + song.path() +
                              QStringLiteral(" нельзя сохранить: строка \"endsong\" завершает "
                                             "текст песни.") +
                              kCancelled);
        AppendLine(texts, line);
    });
    AppendLine(texts, kTextBlockEnd);
}

struct NewCatalogue {
    Lines albums;
    Lines songs;
    QByteArray texts;  // the text file's bytes, built as the songs are read
    QStringList replacedCharacters;
};

void AddAlbum(NewCatalogue& out, const QString& scanFolder, const ScanAlbum& album) {
    const QString folder = Join(scanFolder, album.name);
    const QByteArray albumName = StoredAlbumName(album.name, folder);
    out.albums.append(albumName);
    out.songs.append(SongBlockHeader(albumName));
    for (const ScanSong& song : album.songs) {
        const QByteArray songName = StoredSongName(song.name, Join(folder, song.fileName));
        out.songs.append(songName);
        const SongText text = ReadSongText(folder, album.songs, song.name);
        AppendTextBlock(out.texts, TextBlockHeader(albumName, songName), text);
        if (!text.unencodable().isEmpty())
            out.replacedCharacters.append(album.name + QStringLiteral(" / ") + song.name +
                                          QStringLiteral(": ") +
                                          cp1251::describeCharacters(text.unencodable()));
    }
    out.songs.append(kSongBlockEnd);
}

// The three files are replaced one after the other; should a later one fail, the earlier
// ones get their old bytes back, so the catalogue never mixes an old and a new scan.
void WriteCatalogue(const QString& startDir, QByteArrayView performer, const NewCatalogue& data) {
    FileSetChange files;
    try {
        files.replace(PerformerStorePath(startDir, StoreEntry::AlbumList, performer),
                      JoinRecordLines(data.albums));
        files.replace(PerformerStorePath(startDir, StoreEntry::SongList, performer),
                      JoinRecordLines(data.songs));
        files.replaceLast(PerformerStorePath(startDir, StoreEntry::TextFile, performer),
                          data.texts);
    } catch (const StoreError&) {
        files.rollBack();
        throw;
    }
}

// Only the files directly in the picture folder go; sub-folders and their contents stay. A
// picture that cannot be deleted is passed over; the description of the first failure is
// returned (empty when all went).
QString DeletePictures(const QString& startDir, QByteArrayView performer) {
    const QString folder = PerformerStorePath(startDir, StoreEntry::PictureFolder, performer);
    QString firstFailure;
    QStringList files;
    try {
        files = fileio::listDir(folder, int(fileio::Listing::Files) | int(fileio::Listing::Hidden));
    } catch (const StoreError& e) {
        // A performer without a picture folder has no pictures to lose.
        return e.error() == ENOENT ? QString() : e.description();
    }
    for (const QString& file : files) {
        try {
            fileio::removeFile(Join(folder, file));
        } catch (const StoreError& e) {
            if (firstFailure.isEmpty()) firstFailure = e.description();
        }
    }
    return firstFailure;
}

}  // namespace

ScanOutcome ScanSongsIntoPerformer(const QString& startDir, QByteArrayView performer,
                                   const QString& scanFolder) {
    PerformerStorePath(startDir, StoreEntry::PerformerFolder, performer);  // refuses a bad name
    NewCatalogue data;
    for (const ScanAlbum& album : CollectScanAlbums(scanFolder)) AddAlbum(data, scanFolder, album);
    WriteCatalogue(startDir, performer, data);
    const QString picturesLeft = DeletePictures(startDir, performer);
    return {data.albums, data.replacedCharacters, picturesLeft};
}
