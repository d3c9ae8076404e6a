// A text save and its undo in a performer with a 40 MB text file, against one read and one
// write of that file; the look at a file changed outside, against choosing the song anew; and
// what a history of 100 saves keeps, against what the saves changed.
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/Ratio.h"
#include "session/CatalogueSession.h"
#include "session/EditingCommands.h"
#include "session/HistoryCommands.h"
#include "store/FileIo.h"

namespace {

// Every question gets its first button; nothing is said in a benchmark.
class Silent : public Feedback {
  public:
    MsgButton tell(const Notice&) override { return Yes; }
    void errorReport(const QString& description) override { failures << description; }
    QStringList failures;
};

// `performers` performers, each with `albums` albums of 10 songs of 40 lines.
void LayOut(const QString& root, int performers, int albums) {
    const QByteArray verse = "Line of a song, with some words in it, long enough to count\r\n";
    QByteArray list;
    for (int p = 0; p < performers; ++p) {
        const QByteArray name = "P" + QByteArray::number(p);
        list += name + "\r\n";
        const QString folder = root + "/Data/" + name;
        QDir().mkpath(folder + "/Image");
        QByteArray albumList, songs, texts;
        for (int a = 0; a < albums; ++a) {
            const QByteArray album = "Album " + QByteArray::number(a);
            albumList += album + "\r\n";
            songs += album + "##-**~\r\n";
            for (int s = 0; s < 10; ++s) {
                const QByteArray song = "Song " + QByteArray::number(s);
                songs += song + "\r\n";
                texts += album + " ##-**~ " + song + "\r\n";
                for (int l = 0; l < 40; ++l) texts += verse;
                texts += "endsong\r\n";
            }
            songs += "endalbum\r\n";
        }
        fileio::writeAtomic(folder + "/Albums.lrx", albumList);
        fileio::writeAtomic(folder + "/Songs.lrx", songs);
        fileio::writeAtomic(folder + "/Texts.lrx", texts);
    }
    fileio::writeAtomic(root + "/Data/performers.lrx", list);
}

// One catalogue for the whole run: one performer with a 40 MB text file.
struct Large {
    QTemporaryDir dir;
    std::unique_ptr<CatalogueSession> session;
    Silent silent;
    QString texts;
    long version = 0;
    Large() {
        LayOut(dir.path(), 1, 1600);
        QDir::setCurrent(dir.path());
        session = std::make_unique<CatalogueSession>();
        session->Open(silent);
        texts = dir.path() + "/Data/P0/Texts.lrx";
    }
    bool save() {
        SaveSongTextCommand text({"P0", "Album 7", "Song 3"},
                                 Lines{"Version " + QByteArray::number(++version)});
        return session->execute(text, silent) == Outcome::Done;
    }
};

Large& large() {
    static Large catalogue;
    return catalogue;
}

void ReadAndWriteOnce(benchmark::State& state) {
    Large& c = large();
    for (auto _ : state) {
        const QByteArray bytes = fileio::readAll(c.texts);
        fileio::writeAtomic(c.texts, bytes);
    }
}
BENCHMARK(ReadAndWriteOnce)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void TextSave(benchmark::State& state) {
    Large& c = large();
    for (auto _ : state)
        if (!c.save()) state.SkipWithError("the save failed");
}
BENCHMARK(TextSave)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The same save without the comparison with what the user saw of the file.
class UnguardedSave : public SaveSongTextCommand {
  public:
    using SaveSongTextCommand::SaveSongTextCommand;
    bool asksBeforeOverwriting() const override { return false; }
};

void TextSaveWithoutComparison(benchmark::State& state) {
    Large& c = large();
    for (auto _ : state) {
        UnguardedSave text({"P0", "Album 7", "Song 3"},
                           Lines{"Version " + QByteArray::number(++c.version)});
        if (c.session->execute(text, c.silent) != Outcome::Done)
            state.SkipWithError("the save failed");
    }
}
BENCHMARK(TextSaveWithoutComparison)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void ChooseSongAnew(benchmark::State& state) {
    Large& c = large();
    c.session->ChoosePerformer(0, c.silent);
    c.session->ChooseAlbum(7, c.silent);
    for (auto _ : state) c.session->ChooseSong(3, c.silent);
}
BENCHMARK(ChooseSongAnew)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Another program wrote the shown text file: the session finds it and shows it.
void ShowOutsideChange(benchmark::State& state) {
    Large& c = large();
    c.session->ChoosePerformer(0, c.silent);
    c.session->ChooseAlbum(7, c.silent);
    c.session->ChooseSong(3, c.silent);
    QByteArray bytes = fileio::readAll(c.texts);
    for (auto _ : state) {
        state.PauseTiming();
        bytes[bytes.size() - 12] = bytes[bytes.size() - 12] == 'a' ? 'b' : 'a';
        fileio::writeAtomic(c.texts, bytes);
        state.ResumeTiming();
        c.session->CheckOutsideChanges(c.silent);
    }
    if (c.session->ShownText().isEmpty()) state.SkipWithError("the song is not shown");
}
BENCHMARK(ShowOutsideChange)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void UndoOfTextSave(benchmark::State& state) {
    Large& c = large();
    for (auto _ : state) {
        state.PauseTiming();
        const bool saved = c.save();
        state.ResumeTiming();
        ReplayCommand undo(Replay::Back);
        if (!saved || c.session->execute(undo, c.silent) != Outcome::Done)
            state.SkipWithError("the undo failed");
    }
}
BENCHMARK(UndoOfTextSave)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// 100 saves over 20 of the 100 performers of a 40 MB catalogue: the history keeps the files
// the saves changed, before and after, the bytes one save left and the next found once.
bool HistoryKeepsOnlyWhatTheSavesChanged() {
    QTemporaryDir dir;
    LayOut(dir.path(), 100, 16);
    QDir::setCurrent(dir.path());
    Silent silent;
    CatalogueSession session;
    session.Open(silent);
    qint64 changed = 0;
    for (int i = 0; i < 100; ++i) {
        const QByteArray performer = "P" + QByteArray::number(i % 20);
        SaveSongTextCommand text({performer, "Album 1", "Song 1"},
                                 Lines{"Version " + QByteArray::number(i)});
        if (session.execute(text, silent) != Outcome::Done) return false;
        changed += session.lastJournal().files.first().after->size();
    }
    const double ratio = double(session.History().keptBytes()) / double(changed);
    const bool ok = session.History().size() == 100 && ratio <= 2.0;
    std::printf(
        "history of 100 saves: %.1f MB kept for %.1f MB changed = %.2f (target <= 2.0) %s\n",
        double(session.History().keptBytes()) / 1e6, double(changed) / 1e6, ratio,
        ok ? "ok" : "MISSED");
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Cantoria"));
    QCoreApplication::setOrganizationName(QStringLiteral("Cantoria"));
    const bool history = HistoryKeepsOnlyWhatTheSavesChanged();
    const int timed =
        RunWithRatios(argc, argv,
                      {{"TextSave", "ReadAndWriteOnce", 1.3},
                       {"TextSave", "TextSaveWithoutComparison", 1.1},
                       {"UndoOfTextSave", "TextSave", 1.5},
                       {"ShowOutsideChange", "ChooseSongAnew", 1.5}},
                      // A save waits for the disk: the median of several runs keeps one slow
                      // flush from deciding a ratio. The runs share one history, so they are
                      // not interleaved: each benchmark finds the history its own runs left.
                      {"--benchmark_repetitions=5", "--benchmark_display_aggregates_only=true"});
    return history && timed == 0 ? 0 : 1;
}
