#include "import/PerformerExport.h"

#include <QDateTime>
#include <QSet>

#include "import/ChordPro.h"
#include "import/OpenLyrics.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/Pictures.h"
#include "store/RecordFile.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

namespace {

const QString kCover = QStringLiteral("cover.jpg");
const QString kTxt = QStringLiteral(".txt");
const QString kXml = QStringLiteral(".xml");
const QString kCho = QStringLiteral(".cho");

// The longest name an entry may have: 255 bytes on Linux (a name of 255 bytes in UTF-8 also
// fits the 255 UTF-16 units of FAT, exFAT and NTFS), less for a file, which is written under a
// longer name first.
constexpr qsizetype kLongestName = 255;
constexpr qsizetype kLongestFileName = kLongestName - fileio::kSaveSuffixBytes;

// The start of `name` that takes at most `bytes` bytes in UTF-8, cut between characters (Qt
// cuts strings by UTF-16 units only).
QString CutToBytes(const QString& name, qsizetype bytes) {
    const QByteArray utf8 = name.toUtf8();
    if (utf8.size() <= bytes) return name;
    qsizetype cut = bytes;
    while (cut > 0 && (uchar(utf8[cut]) & 0xC0) == 0x80) --cut;  // a continuation byte
    return QString::fromUtf8(utf8.left(cut));
}

// A name with every character replaced that a file name on Linux, or on the FAT, exFAT and
// NTFS of a USB stick, cannot hold: "/" and NUL, the control characters and : ? * " < > | \.
QString WithoutRefusedCharacters(QString name) {
    static const QString refused = QStringLiteral(":?*\"<>|\\/");
    for (QChar& c : name)
        if (c.unicode() < 0x20 || refused.contains(c)) c = u'_';
    return name;
}

// Those file systems refuse a folder name that ends in a dot or a space, and Linux has no
// folder called "", "." or "..": each such dot or space, or the empty name, becomes "_". A
// file's name ends in its extension.
QString WithoutTrailingDotsOrSpaces(QString name) {
    if (name.isEmpty()) return QStringLiteral("_");
    for (qsizetype i = name.size() - 1; i >= 0 && (name[i] == u'.' || name[i] == u' '); --i)
        name[i] = u'_';
    return name;
}

// Names already given in one folder, and the record of every name that had to change. Two
// names that differ only in letter case are one name on a USB stick, so they are compared
// case-folded.
class FolderNames {
  public:
    explicit FolderNames(QStringList& renamed) : renamed_(renamed) {}

    // A name the file system takes for an entry of this folder, `suffix` included.
    QString take(const QString& wanted, const QString& suffix, bool isFolder) {
        const QString storable = WithoutRefusedCharacters(wanted);
        // The name is cut before a " (2)" is added, so that the number always shows.
        const qsizetype longest = isFolder ? kLongestName : kLongestFileName;
        const auto fitted = [&](const QString& number) {
            const QString cut =
                CutToBytes(storable, longest - number.toUtf8().size() - suffix.toUtf8().size());
            return (isFolder ? WithoutTrailingDotsOrSpaces(cut) : cut) + number;
        };
        QString name = fitted({});
        for (int n = 2; taken_.contains((name + suffix).toCaseFolded()); ++n)
            name = fitted(QStringLiteral(" (%1)").arg(n));
        reserve(name + suffix);
        if (name != wanted) renamed_.append(wanted + QStringLiteral(" → ") + name);
        return name + suffix;
    }
    void reserve(const QString& name) { taken_.insert(name.toCaseFolded()); }

  private:
    QSet<QString> taken_;  // case-folded
    QStringList& renamed_;
};

// The song's text as a plain UTF-8 file: each line followed by LF.
QByteArray TextSongFile(const QStringList& lines) {
    QByteArray file;
    for (const QString& line : lines) file += line.toUtf8() + '\n';
    return file;
}

QStringList Decoded(const Lines& lines) {
    QStringList text;
    for (const Line& line : lines) text.append(cp1251::decode(line));
    return text;
}

struct PerformerFiles {
    RecordLines albums, songs, texts;
};

// What the export writes for each song, in the chosen format.
struct SongWriter {
    ExportFormat format;
    QString performer;
    QDateTime started;  // the files' modification time

    const QString& extension() const {
        return format == ExportFormat::OpenLyrics ? kXml
               : format == ExportFormat::ChordPro ? kCho
                                                  : kTxt;
    }
    QByteArray file(const QString& album, int number, const ReadSong& song) const {
        switch (format) {
            case ExportFormat::OpenLyrics:
                return WriteOpenLyrics(song, {performer, album, number}, started);
            case ExportFormat::ChordPro:
                return WriteChordPro(performer, album, song);
            case ExportFormat::Text:
                break;
        }
        return TextSongFile(song.lines);
    }
};

void ExportAlbum(FileSetChange& change, const QString& startDir, QByteArrayView performer,
                 const PerformerFiles& files, QByteArrayView album, const QString& albumFolder,
                 const SongWriter& writer, QStringList& renamed) {
    change.makeDir(albumFolder);
    FolderNames songs(renamed);
    songs.reserve(kCover);
    const QString albumName = cp1251::decode(album);
    int number = 0;
    for (const Line& song :
         CollectBlockBodies(files.songs, SongBlockHeader(album), kSongBlockEnd)) {
        const QString name = cp1251::decode(song);
        const QString file = songs.take(name, writer.extension(), false);
        const Lines lines =
            CollectBlockBodies(files.texts, TextBlockHeader(album, song), kTextBlockEnd);
        change.replace(albumFolder + u'/' + file,
                       writer.file(albumName, ++number, {name, Decoded(lines)}));
    }
    if (HasAlbumPicture(startDir, performer, album))
        change.copyNew(AlbumPicturePath(startDir, performer, album), albumFolder + u'/' + kCover);
}

}  // namespace

ExportOutcome ExportPerformer(const QString& startDir, QByteArrayView performer,
                              const QString& folder, ExportFormat format) {
    ExportOutcome outcome;
    FolderNames top(outcome.renamed);
    outcome.performerFolder = folder + u'/' + top.take(cp1251::decode(performer), {}, true);
    if (fileio::exists(outcome.performerFolder) || fileio::isSymLink(outcome.performerFolder))
        throw ExportRefused(QStringLiteral("Папка ") + outcome.performerFolder +
                            QStringLiteral(" уже существует.\rЭкспорт отменён, ничего не "
                                           "записано."));
    const auto read = [&](StoreEntry entry) {
        return ReadRecordFile(PerformerStorePath(startDir, entry, performer));
    };
    const PerformerFiles files{read(StoreEntry::AlbumList), read(StoreEntry::SongList),
                               read(StoreEntry::TextFile)};
    // A failure on the way undoes everything written so far, as the change is left.
    FileSetChange change;
    change.makeDir(outcome.performerFolder);
    FolderNames albumNames(outcome.renamed);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const SongWriter writer{format, cp1251::decode(performer), now.addMSecs(-now.time().msec())};
    for (const QByteArrayView album : files.albums) {
        const QString name = albumNames.take(cp1251::decode(album), {}, true);
        ExportAlbum(change, startDir, performer, files, album,
                    outcome.performerFolder + u'/' + name, writer, outcome.renamed);
    }
    change.commit();
    return outcome;
}

QString ExportReport(const ExportOutcome& outcome) {
    QString report =
        QStringLiteral("Исполнитель выгружен в папку ") + outcome.performerFolder + u'.';
    if (!outcome.renamed.isEmpty())
        report += QStringLiteral("\rИмена, которые нельзя дать файлам, изменены:\r") +
                  outcome.renamed.join(u'\r');
    return report;
}
