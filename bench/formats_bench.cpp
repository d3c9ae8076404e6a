// The song files of other programs: scanning 3,000 OpenLyrics files, 3,000 ChordPro files and
// 3,000 .mp3 files with lyrics into a performer, each against reading the same files into
// memory; and exporting a 3,000-song performer as OpenLyrics against writing the same bytes as
// plain files. Two more runs show what no scan of these files can go below: the OpenLyrics
// files decoded from UTF-8, and the .mp3 files' tags read by TagLib from memory.
#include <taglib/id3v2framefactory.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "bench/Ratio.h"
#include "import/ChordPro.h"
#include "import/OpenLyrics.h"
#include "import/PerformerExport.h"
#include "import/SongScan.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/PerformerRepository.h"

namespace {

constexpr int kAlbums = 200;
constexpr int kSongs = 15;

// About 1.5 KB of lyrics with a chord line above every other line.
ReadSong Song(int album, int song) {
    ReadSong s{QStringLiteral("Песня %1").arg(song), {}};
    for (int line = 0; s.lines.join(u'\n').size() < 1000; ++line) {
        if (line % 8 == 7) s.lines.append(QString());
        s.lines.append(QStringLiteral("Am          C      G"));
        s.lines.append(
            QStringLiteral("Город, которого нет, альбом %1, строка %2").arg(album).arg(line));
    }
    return s;
}

QString AlbumFolder(const QString& root, int album) {
    return root + QStringLiteral("/Альбом %1").arg(album);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

// Tags copies of one small mp3 made by ffmpeg with each song's title and lyrics, in one run of
// mutagen.
const char* const kTagger = R"(
import sys, shutil
from mutagen.id3 import ID3, TIT2, TRCK, USLT
base, listing = sys.argv[1:3]
for entry in open(listing, encoding='utf-8').read().split('\0')[:-1]:
    path, title, track, lyrics = entry.split('\1')
    shutil.copyfile(base, path)
    t = ID3()
    t.add(TIT2(encoding=3, text=title))
    t.add(TRCK(encoding=3, text=track))
    t.add(USLT(encoding=3, lang='rus', desc='', text=lyrics))
    t.save(path)
)";

bool Run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    return p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

struct Fixture {
    QTemporaryDir dir;
    QString openLyrics, chordPro, mp3;
    QStringList openLyricsFiles, chordProFiles, mp3Files;

    Fixture() {
        openLyrics = dir.path() + QStringLiteral("/xml");
        chordPro = dir.path() + QStringLiteral("/cho");
        mp3 = dir.path() + QStringLiteral("/mp3");
        const QString listing = dir.path() + QStringLiteral("/listing");
        QByteArray tags;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int a = 0; a < kAlbums; ++a) {
            for (const QString& root : {openLyrics, chordPro, mp3})
                QDir().mkpath(AlbumFolder(root, a));
            for (int s = 0; s < kSongs; ++s) {
                const ReadSong song = Song(a, s);
                const QString name =
                    QStringLiteral("/%1 %2.").arg(s + 1, 2, 10, QChar(u'0')).arg(song.name);
                openLyricsFiles << AlbumFolder(openLyrics, a) + name + QStringLiteral("xml");
                WriteFile(openLyricsFiles.back(),
                          WriteOpenLyrics(
                              song, {QStringLiteral("Band"), QStringLiteral("A"), s + 1}, now));
                chordProFiles << AlbumFolder(chordPro, a) + name + QStringLiteral("cho");
                WriteFile(chordProFiles.back(),
                          WriteChordPro(QStringLiteral("Band"), QStringLiteral("A"), song));
                mp3Files << AlbumFolder(mp3, a) + name + QStringLiteral("mp3");
                tags += (QStringList{mp3Files.back(), song.name, QString::number(s + 1),
                                     song.lines.join(u'\n')}
                             .join(u'\1') +
                         u'\0')
                            .toUtf8();
            }
        }
        WriteFile(listing, tags);
        QDir().mkpath(dir.path() + QStringLiteral("/Data/Band/Image"));
        // A user's song folder was written long before the scan.
        ::sync();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// The .mp3 files are made on first use only: ffmpeg and mutagen take a while.
bool Mp3Made() {
    static const bool made = [] {
        const Fixture& f = fixture();
        const QString base = f.dir.path() + QStringLiteral("/base.mp3");
        const bool ok = Run(QStringLiteral("ffmpeg"),
                            {"-v", "error", "-f", "lavfi", "-i", "anullsrc=r=44100:cl=mono", "-t",
                             "0.1", "-c:a", "libmp3lame", "-y", base}) &&
                        Run(QStringLiteral("/usr/bin/python3"),
                            {"-c", kTagger, base, f.dir.path() + QStringLiteral("/listing")});
        ::sync();
        return ok;
    }();
    return made;
}

void ReadFiles(benchmark::State& state, const QStringList& files) {
    for (auto _ : state) {
        qint64 total = 0;
        for (const QString& path : files) total += fileio::readAll(path).size();
        benchmark::DoNotOptimize(total);
    }
}

// One scan into the performer "Band"; false when albums or songs are missing.
bool ScanOnce(const QString& folder) {
    FileSetChange change;
    const ScanOutcome outcome =
        ScanSongsIntoPerformer(change, PerformerRepository(fixture().dir.path()), "Band", folder);
    change.commit();
    return outcome.albums.size() == kAlbums && outcome.unreadFiles.isEmpty();
}

void Scan(benchmark::State& state, const QString& folder) {
    for (auto _ : state)
        if (!ScanOnce(folder)) state.SkipWithError("albums or songs missing");
}

void ReadOpenLyricsFiles(benchmark::State& state) {
    ReadFiles(state, fixture().openLyricsFiles);
}
BENCHMARK(ReadOpenLyricsFiles)->Unit(benchmark::kMillisecond);
// The file read and decoded, as every reading of its XML needs it.
void DecodeOpenLyricsFiles(benchmark::State& state) {
    for (auto _ : state) {
        qint64 total = 0;
        for (const QString& path : fixture().openLyricsFiles)
            total += QString::fromUtf8(fileio::readAll(path)).size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(DecodeOpenLyricsFiles)->Unit(benchmark::kMillisecond);
void ScanOpenLyrics(benchmark::State& state) {
    Scan(state, fixture().openLyrics);
}
BENCHMARK(ScanOpenLyrics)->Unit(benchmark::kMillisecond);

void ReadChordProFiles(benchmark::State& state) {
    ReadFiles(state, fixture().chordProFiles);
}
BENCHMARK(ReadChordProFiles)->Unit(benchmark::kMillisecond);
void ScanChordPro(benchmark::State& state) {
    Scan(state, fixture().chordPro);
}
BENCHMARK(ScanChordPro)->Unit(benchmark::kMillisecond);

void ReadMp3Files(benchmark::State& state) {
    if (!Mp3Made()) state.SkipWithError("ffmpeg or python3-mutagen missing");
    ReadFiles(state, fixture().mp3Files);
}
BENCHMARK(ReadMp3Files)->Unit(benchmark::kMillisecond);
// The file read and given to TagLib as the scan gives it, with the audio's properties, the
// title read and nothing else done.
void TagLibOnMp3Files(benchmark::State& state) {
    if (!Mp3Made()) state.SkipWithError("ffmpeg or python3-mutagen missing");
    for (auto _ : state) {
        qint64 total = 0;
        for (const QString& path : fixture().mp3Files) {
            const QByteArray bytes = fileio::readAll(path);
            TagLib::ByteVectorStream stream(
                TagLib::ByteVector(bytes.constData(), unsigned(bytes.size())));
            const TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), true,
                                          TagLib::AudioProperties::Fast);
            total += file.tag()->title().size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(TagLibOnMp3Files)->Unit(benchmark::kMillisecond);
void ScanMp3(benchmark::State& state) {
    if (!Mp3Made()) state.SkipWithError("ffmpeg or python3-mutagen missing");
    Scan(state, fixture().mp3);
}
BENCHMARK(ScanMp3)->Unit(benchmark::kMillisecond);

// The performer scanned from the OpenLyrics files, exported again into a new folder each time.
void ExportOpenLyrics(benchmark::State& state) {
    const Fixture& f = fixture();
    if (!ScanOnce(f.openLyrics)) state.SkipWithError("albums or songs missing");
    int run = 0;
    for (auto _ : state) {
        const QString out = f.dir.path() + QStringLiteral("/export%1").arg(++run);
        QDir().mkpath(out);
        ExportPerformer(f.dir.path(), "Band", out, ExportFormat::OpenLyrics);
        state.PauseTiming();
        QDir(out).removeRecursively();
        state.ResumeTiming();
    }
}

// The same bytes written as plain files, in the same folders.
void WritePlainFiles(benchmark::State& state) {
    const Fixture& f = fixture();
    QList<QByteArray> contents;
    for (const QString& path : f.openLyricsFiles) contents << fileio::readAll(path);
    int run = 0;
    for (auto _ : state) {
        const QString out = f.dir.path() + QStringLiteral("/plain%1").arg(++run);
        for (int a = 0; a < kAlbums; ++a) {
            const QString album = AlbumFolder(out + QStringLiteral("/Band"), a);
            QDir().mkpath(album);
            for (int s = 0; s < kSongs; ++s)
                WriteFile(album + QStringLiteral("/%1.xml").arg(s), contents[a * kSongs + s]);
        }
        state.PauseTiming();
        QDir(out).removeRecursively();
        state.ResumeTiming();
    }
}
BENCHMARK(WritePlainFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportOpenLyrics)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunWithRatios(
        argc, argv,
        {{"ScanOpenLyrics", "ReadOpenLyricsFiles", 3.0},
         {"ScanChordPro", "ReadChordProFiles", 3.0},
         {"ScanMp3", "ReadMp3Files", 3.0},
         {"ExportOpenLyrics", "WritePlainFiles", 3.0}},
        {"--benchmark_repetitions=5", "--benchmark_enable_random_interleaving=true",
         "--benchmark_display_aggregates_only=true"});
}
