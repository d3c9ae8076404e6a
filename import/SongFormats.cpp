#include "import/SongFormats.h"

#include "import/ChordPro.h"
#include "import/OpenLyrics.h"

namespace {

struct KindByExtension {
    QLatin1StringView extension;
    SongFileKind kind;
};

constexpr KindByExtension kKinds[] = {
    {QLatin1StringView("txt"), SongFileKind::Txt},
    {QLatin1StringView("rtf"), SongFileKind::Rtf},
    {QLatin1StringView("cho"), SongFileKind::ChordPro},
    {QLatin1StringView("chopro"), SongFileKind::ChordPro},
    {QLatin1StringView("chordpro"), SongFileKind::ChordPro},
    {QLatin1StringView("crd"), SongFileKind::ChordPro},
    {QLatin1StringView("pro"), SongFileKind::ChordPro},
    {QLatin1StringView("xml"), SongFileKind::OpenLyrics},
    {QLatin1StringView("mp3"), SongFileKind::Music},
    {QLatin1StringView("flac"), SongFileKind::Music},
    {QLatin1StringView("ogg"), SongFileKind::Music},
    {QLatin1StringView("opus"), SongFileKind::Music},
    {QLatin1StringView("m4a"), SongFileKind::Music},
    {QLatin1StringView("lrc"), SongFileKind::Lrc},
};

}  // namespace

// The extension is cut once and looked up, rather than the name's end compared with every
// extension: a scan asks this of every file it lists.
SongFileKind SongFileKindOf(QStringView fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0) return SongFileKind::Other;
    const QStringView extension = fileName.mid(dot + 1);
    for (const KindByExtension& k : kKinds)
        if (extension.compare(k.extension, Qt::CaseInsensitive) == 0) return k.kind;
    return SongFileKind::Other;
}

QString WithoutExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

namespace {

ScannedSong ScannedSongOf(ReadSong song) {
    const bool cut = CapSongText(song.lines);
    return {song.name, CatalogueLines(song.lines), cut};
}

}  // namespace

QList<ScannedSong> ReadSongFormatFile(const QByteArray& bytes, const QString& fileName) {
    const QString name = WithoutExtension(fileName);
    if (SongFileKindOf(fileName) != SongFileKind::ChordPro)
        return {ScannedSongOf(ReadOpenLyrics(bytes, name))};
    QList<ScannedSong> songs;
    for (ReadSong& song : ReadChordPro(bytes, name)) songs.append(ScannedSongOf(std::move(song)));
    return songs;
}

QString CutTextNote(const QString& path) {
    return path + QStringLiteral(": текст длиннее 1 МБ, сохранено начало");
}

bool CapSongText(QStringList& lines) {
    qsizetype total = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        total += lines[i].size();
        if (total <= kLongestSongText) continue;
        lines[i].chop(total - kLongestSongText);
        lines.resize(lines[i].isEmpty() ? i : i + 1);
        return true;
    }
    return false;
}
