#include "import/SongFormats.h"

#include "import/ChordPro.h"
#include "import/OpenLyrics.h"

namespace {

const QStringList kChordProExtensions = {QStringLiteral(".cho"), QStringLiteral(".chopro"),
                                         QStringLiteral(".chordpro"), QStringLiteral(".crd"),
                                         QStringLiteral(".pro")};
const QString kXml = QStringLiteral(".xml");

bool IsChordProFile(const QString& fileName) {
    for (const QString& extension : kChordProExtensions)
        if (fileName.endsWith(extension, Qt::CaseInsensitive)) return true;
    return false;
}

}  // namespace

bool IsSongFormatFile(const QString& fileName) {
    return IsChordProFile(fileName) || fileName.endsWith(kXml, Qt::CaseInsensitive);
}

QString WithoutExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

QList<ReadSong> ReadSongFormatFile(const QByteArray& bytes, const QString& fileName) {
    const QString name = WithoutExtension(fileName);
    if (IsChordProFile(fileName)) return ReadChordPro(bytes, name);
    return {ReadOpenLyrics(bytes, name)};
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
