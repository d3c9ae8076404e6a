// The readers of other programs' song files on arbitrary input: they end, stay in bounds, and
// either refuse the file or give songs whose lines the catalogue can take, the OpenLyrics
// reader the same as with Qt's XML reader alone; what the export writes of a song read, they
// read back. And the folding of chord lines loses nothing.
#include <QDateTime>

#include "fuzz/FuzzTargets.h"
#include "import/ChordLines.h"
#include "import/ChordPro.h"
#include "import/LyricText.h"
#include "import/OpenLyrics.h"
#include "import/SongFormats.h"

namespace {

bool HoldsLineEnd(const QStringList& lines) {
    for (const QString& line : lines)
        if (line.contains(u'\n') || line.contains(u'\r')) return true;
    return false;
}

}  // namespace

// The song Qt's XML reader alone reads, or the reason it refuses the file.
ReadSong ReadWithQt(const QByteArray& bytes, QString& refused) {
    try {
        return ReadOpenLyricsWithQtReader(bytes, QStringLiteral("file"));
    } catch (const SongFileRefused& e) {
        refused = e.reason();
        return {};
    }
}

int FuzzOpenLyricsReader(const uint8_t* data, size_t size) {
    const QByteArray bytes = FuzzBytes(data, size);
    QString qtRefused;
    const ReadSong qtSong = ReadWithQt(bytes, qtRefused);
    ReadSong song;
    try {
        song = ReadOpenLyrics(bytes, QStringLiteral("file"));
    } catch (const SongFileRefused& e) {
        // The faster reader refuses nothing that Qt's reads, and for Qt's reason.
        FUZZ_CHECK(e.reason() == qtRefused);
        return 0;
    }
    FUZZ_CHECK(qtRefused.isEmpty() && song.name == qtSong.name && song.lines == qtSong.lines);
    FUZZ_CHECK(!HoldsLineEnd(song.lines));
    // The scanner's read gives the same song, encoded and cut as the catalogue takes it.
    const ScannedSong scanned = ReadOpenLyricsForScan(bytes, QStringLiteral("file"));
    QStringList capped = song.lines;
    const bool cut = CapSongText(capped);
    FUZZ_CHECK(scanned.name == song.name && scanned.cut == cut &&
               scanned.text.written == CatalogueLines(capped).written);
    // The export of the song is a document the reader takes, named as the song was.
    const QByteArray written = WriteOpenLyrics(song, {QStringLiteral("p"), QStringLiteral("a"), 1},
                                               QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC));
    ReadSong again;
    try {
        again = ReadOpenLyrics(written, QStringLiteral("file"));
    } catch (const SongFileRefused&) {
        FUZZ_CHECK(false);
    }
    FUZZ_CHECK(again.name == song.name);
    return 0;
}

int FuzzChordProReader(const uint8_t* data, size_t size) {
    QList<ReadSong> songs;
    try {
        songs = ReadChordPro(FuzzBytes(data, size), QStringLiteral("file"));
    } catch (const SongFileRefused&) {
        return 0;
    }
    for (const ReadSong& song : songs) {
        FUZZ_CHECK(!HoldsLineEnd(song.lines));
        FUZZ_CHECK(!song.name.isEmpty());
        // The export of each song reads back as one song.
        try {
            FUZZ_CHECK(ReadChordPro(WriteChordPro(QStringLiteral("p"), QStringLiteral("a"), song),
                                    QStringLiteral("file"))
                           .size() <= 1);
        } catch (const SongFileRefused&) {
            // a text line holding a lone "[" cannot be told from a chord left open
        }
    }
    return 0;
}

int FuzzChordLines(const uint8_t* data, size_t size) {
    const QStringList lines = QString::fromUtf8(FuzzBytes(data, size)).split(u'\n');
    QStringList unfolded;
    for (const ChordedLine& line : FoldChordLines(lines)) {
        for (const PlacedChord& chord : line.chords) {
            FUZZ_CHECK(IsChordName(chord.name));
            // A chord the OpenLyrics notation takes comes back under its own name.
            if (const auto converted = ToOpenLyricsChord(chord.name))
                FUZZ_CHECK(OpenLyricsChordName(*converted) == chord.name);
        }
        unfolded += UnfoldChords(line);
    }
    FUZZ_CHECK(unfolded == lines);
    return 0;
}
