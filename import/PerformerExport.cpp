#include "import/PerformerExport.h"

#include <QSet>

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

// Names already given in one folder, and the record of every name that had to change.
class FolderNames {
  public:
    explicit FolderNames(QStringList& renamed) : renamed_(renamed) {}

    // A name the file system takes for an entry of this folder, `suffix` included.
    QString take(const QString& wanted, const QString& suffix, bool isFolder) {
        QString name = wanted;
        name.replace(u'/', u'_').replace(QChar(0), u'_');
        if (isFolder && (name.isEmpty() || name == u"." || name == u".."))
            name = QString(qMax(name.size(), qsizetype(1)), u'_');
        const QString base = name;
        for (int n = 2; taken_.contains(name + suffix); ++n)
            name = base + QStringLiteral(" (%1)").arg(n);
        taken_.insert(name + suffix);
        if (name != wanted) renamed_.append(wanted + QStringLiteral(" → ") + name);
        return name + suffix;
    }
    void reserve(const QString& name) { taken_.insert(name); }

  private:
    QSet<QString> taken_;
    QStringList& renamed_;
};

// The song's text as a plain UTF-8 file: each line followed by LF.
QByteArray SongFile(const Lines& lines) {
    QByteArray file;
    for (const Line& line : lines) file += cp1251::decode(line).toUtf8() + '\n';
    return file;
}

struct PerformerFiles {
    RecordLines albums, songs, texts;
};

void ExportAlbum(FileSetChange& change, const QString& startDir, QByteArrayView performer,
                 const PerformerFiles& files, QByteArrayView album, const QString& albumFolder,
                 QStringList& renamed) {
    change.makeDir(albumFolder);
    FolderNames songs(renamed);
    songs.reserve(kCover);
    for (const Line& song :
         CollectBlockBodies(files.songs, SongBlockHeader(album), kSongBlockEnd)) {
        const QString file = songs.take(cp1251::decode(song), kTxt, false);
        const Lines lines =
            CollectBlockBodies(files.texts, TextBlockHeader(album, song), kTextBlockEnd);
        change.replace(albumFolder + u'/' + file, SongFile(lines));
    }
    if (HasAlbumPicture(startDir, performer, album))
        change.copyNew(AlbumPicturePath(startDir, performer, album), albumFolder + u'/' + kCover);
}

}  // namespace

ExportOutcome ExportPerformer(const QString& startDir, QByteArrayView performer,
                              const QString& folder) {
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
    for (const QByteArrayView album : files.albums) {
        const QString name = albumNames.take(cp1251::decode(album), {}, true);
        ExportAlbum(change, startDir, performer, files, album,
                    outcome.performerFolder + u'/' + name, outcome.renamed);
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
