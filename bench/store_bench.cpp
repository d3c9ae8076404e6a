// Finding the last text block of a 50 MB text file, against a plain read of the same file.
#include <QFile>
#include <QTemporaryDir>

#include "bench/Ratio.h"
#include "store/RecordFile.h"

namespace {

constexpr int kBlocks = 20000;

const QString& textFile() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.path() + QStringLiteral("/Texts.lrx");
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        const QByteArray verse = "Line of a song, with some words in it, long enough to count\r\n";
        QByteArray block;
        for (int i = 0; i < kBlocks; ++i) {
            block = "Album " + QByteArray::number(i % 200) + " ##-**~ Song " +
                    QByteArray::number(i) + "\r\n";
            for (int l = 0; l < 40; ++l) block += verse;
            block += "endsong\r\n";
            f.write(block);
        }
        return p;
    }();
    return path;
}

void PlainRead(benchmark::State& state) {
    const QString& path = textFile();
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QByteArray all = f.readAll();
        benchmark::DoNotOptimize(all.data());
    }
}
BENCHMARK(PlainRead)->Unit(benchmark::kMillisecond);

void LastBlockLookup(benchmark::State& state) {
    const QString& path = textFile();
    const Line header = TextBlockHeader("Album " + QByteArray::number((kBlocks - 1) % 200),
                                        "Song " + QByteArray::number(kBlocks - 1));
    for (auto _ : state) {
        const Lines body = CollectBlockBodies(ReadRecordFile(path), header, kTextBlockEnd);
        if (body.size() != 40) state.SkipWithError("last block not found");
        benchmark::DoNotOptimize(body.data());
    }
}
BENCHMARK(LastBlockLookup)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunWithRatios(argc, argv, {{"LastBlockLookup", "PlainRead", 2.0}});
}
