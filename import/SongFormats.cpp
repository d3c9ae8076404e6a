#include "import/SongFormats.h"

#include <algorithm>

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

// How much of a line of `size` characters a song's text keeps after `before` characters: all
// of it, or what is left of kLongestSongText.
qsizetype KeptOfLine(qsizetype before, qsizetype size) {
    return std::min(size, kLongestSongText - before);
}

}  // namespace

QList<ScannedSong> ReadSongFormatFile(const QByteArray& bytes, const QString& fileName) {
    const QString name = WithoutExtension(fileName);
    if (SongFileKindOf(fileName) == SongFileKind::ChordPro) return ReadChordProForScan(bytes, name);
    return {ReadOpenLyricsForScan(bytes, name)};
}

void ScannedSongBuilder::appendLine(QStringView line) {
    if (cut_) return;
    const qsizetype kept = KeptOfLine(length_, line.size());
    length_ += kept;
    if (kept < line.size()) {
        cut_ = true;
        if (kept == 0) return;
    }
    text_.appendLine(line.first(kept));
}

ScannedSong ScannedSongBuilder::finish(const QString& name) {
    ScannedSong song{name, text_.finish(), cut_};
    *this = ScannedSongBuilder();
    return song;
}

QString CutTextNote(const QString& path) {
    return path + QStringLiteral(": текст длиннее 1 МБ, сохранено начало");
}

bool CapSongText(QStringList& lines) {
    qsizetype total = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype kept = KeptOfLine(total, lines[i].size());
        total += kept;
        if (kept == lines[i].size()) continue;
        lines[i].truncate(kept);
        lines.resize(kept == 0 ? i : i + 1);
        return true;
    }
    return false;
}
