// Scanning a lyric folder of 200 albums with 15 songs each (3,000 files of about 1.5 KB, half
// of them RTF) into a performer, against reading the same files into memory.
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "bench/Ratio.h"
#include "import/LyricText.h"
#include "import/SongScan.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/PerformerRepository.h"

namespace {

constexpr int kAlbums = 200;
constexpr int kSongs = 15;

QByteArray Cp1251(const char* utf8) {
    return cp1251::encode(QString::fromUtf8(utf8)).bytes;
}

QByteArray TextSong(int n) {
    const QByteArray verse = Cp1251("Город, которого нет, и песня номер ") + QByteArray::number(n);
    QByteArray text;
    while (text.size() < 1500) text += verse + "\r\n";
    return text;
}

QByteArray RtfSong(int n) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    const QByteArray verse = Cp1251("Звезда ") + QByteArray::number(n);
    while (rtf.size() < 1500) {
        for (const char c : verse) {
            if (uchar(c) < 0x80)
                rtf += c;
            else
                rtf += "\\'" + QByteArray::number(uchar(c), 16);
        }
        rtf += " \\u8212? line\\par\r\n";
    }
    return rtf + "}\r\n";
}

struct Fixture {
    QTemporaryDir dir;
    QString scanFolder;
    QStringList files;

    Fixture() {
        scanFolder = dir.path() + QStringLiteral("/lyrics");
        for (int a = 0; a < kAlbums; ++a) {
            const QString album = scanFolder + QStringLiteral("/Album %1").arg(a);
            QDir().mkpath(album);
            for (int s = 0; s < kSongs; ++s) {
                const bool rtf = s % 2 == 1;
                const QString path =
                    album + QStringLiteral("/Song %1.%2")
                                .arg(s)
                                .arg(rtf ? QStringLiteral("rtf") : QStringLiteral("txt"));
                QFile f(path);
                f.open(QIODevice::WriteOnly);
                f.write(rtf ? RtfSong(s) : TextSong(s));
                files << path;
            }
        }
        QDir().mkpath(dir.path() + QStringLiteral("/Data/Band/Image"));
        // A user's lyric folder was written long before the scan; without this, the first
        // save of the scan would wait for the disk to take the 3,000 files just made.
        ::sync();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void ReadAllFiles(benchmark::State& state) {
    const Fixture& f = fixture();
    for (auto _ : state) {
        qint64 total = 0;
        for (const QString& path : f.files) total += fileio::readAll(path).size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(ReadAllFiles)->Unit(benchmark::kMillisecond);

void ScanFolder(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        FileSetChange change;
        const ScanOutcome outcome =
            ScanSongsIntoPerformer(change, PerformerRepository(f.dir.path()), "Band", f.scanFolder);
        change.commit();
        if (outcome.albums.size() != kAlbums) state.SkipWithError("albums missing");
        benchmark::DoNotOptimize(outcome.albums.data());
    }
}
BENCHMARK(ScanFolder)->Unit(benchmark::kMillisecond);

// A plain Windows-1251 lyric file goes through the encoding check without the detector: its
// cost beside taking the file's lines as they are. The detector costs many times more (see
// ReadKoi8Lyric), so a ratio far above the target means it is asked about such files.
void TakeLinesAsTheyAre(benchmark::State& state) {
    const QByteArray song = TextSong(7);
    for (auto _ : state) benchmark::DoNotOptimize(RecordLines(song).joined().size());
}
BENCHMARK(TakeLinesAsTheyAre);

void ReadWindows1251Lyric(benchmark::State& state) {
    const QByteArray song = TextSong(7);
    for (auto _ : state) benchmark::DoNotOptimize(PlainLyricText(song).written.size());
}
BENCHMARK(ReadWindows1251Lyric);

// The same song in KOI8-R, which only the detector recognises.
void ReadKoi8Lyric(benchmark::State& state) {
    const QByteArray song = TextSong(7);
    QStringEncoder toKoi8("KOI8-R");
    if (!toKoi8.isValid()) state.SkipWithError("no KOI8-R encoder");
    const QByteArray koi8 = toKoi8.encode(cp1251::decode(song));
    for (auto _ : state) benchmark::DoNotOptimize(PlainLyricText(koi8).written.size());
}
BENCHMARK(ReadKoi8Lyric);

}  // namespace

int main(int argc, char** argv) {
    // Reading and scanning take turns, five times each, and their medians are compared: the
    // disk and the machine's other work then weigh on both alike.
    return RunWithRatios(
        argc, argv,
        {{"ScanFolder", "ReadAllFiles", 2.5}, {"ReadWindows1251Lyric", "TakeLinesAsTheyAre", 4.0}},
        {"--benchmark_repetitions=5", "--benchmark_enable_random_interleaving=true",
         "--benchmark_display_aggregates_only=true"});
}
