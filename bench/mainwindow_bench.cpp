// The main window's reading paths on a large performer, and start-up on a long performer list,
// each against a baseline measured in the same run.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>

#include "app/FontConfiguration.h"
#include "app/Forms.h"
#include "app/SearchWiring.h"
#include "bench/Ratio.h"
#include "mainwindow/MainForm.h"

namespace {

constexpr int kAlbums = 2000;
constexpr int kSongsPerAlbum = 15;

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A performer with 2,000 albums of 15 songs and a 40 MB text file.
const QString& bigCatalogue() {
    static QTemporaryDir dir;
    static const QString root = [] {
        const QString folder = dir.path() + QStringLiteral("/Data/Big");
        QDir().mkpath(folder + QStringLiteral("/Image"));
        writeFile(dir.path() + QStringLiteral("/Data/performers.lrx"), "Big\r\n");
        QByteArray albums, songs, texts;
        const QByteArray verse = "A line of the song with words enough to fill it\r\n";
        for (int a = 0; a < kAlbums; ++a) {
            const QByteArray album = "Album " + QByteArray::number(a);
            albums += album + "\r\n";
            songs += album + "##-**~\r\n";
            for (int s = 0; s < kSongsPerAlbum; ++s) {
                const QByteArray song = "Song " + QByteArray::number(s);
                songs += song + "\r\n";
                texts += album + " ##-**~ " + song + "\r\n";
                for (int l = 0; l < 27; ++l) texts += verse;
                texts += "endsong\r\n";
            }
            songs += "endalbum\r\n";
        }
        writeFile(folder + QStringLiteral("/Albums.lrx"), albums);
        writeFile(folder + QStringLiteral("/Songs.lrx"), songs);
        writeFile(folder + QStringLiteral("/Texts.lrx"), texts);
        return dir.path();
    }();
    return root;
}

void ReadBothFiles(benchmark::State& state) {
    const QString folder = bigCatalogue() + QStringLiteral("/Data/Big");
    for (auto _ : state) {
        QByteArray songs = readFile(folder + QStringLiteral("/Songs.lrx"));
        QByteArray texts = readFile(folder + QStringLiteral("/Texts.lrx"));
        benchmark::DoNotOptimize(songs.data());
        benchmark::DoNotOptimize(texts.data());
    }
}
BENCHMARK(ReadBothFiles)->Unit(benchmark::kMillisecond);

void SelectAlbumThenSong(benchmark::State& state) {
    QDir::setCurrent(bigCatalogue());
    CreateForms();
    MainForm->PerfComboBox->setCurrentIndex(0);
    MainForm->PerfComboBoxClick();
    for (auto _ : state) {
        MainForm->AlbumsComboBox->setCurrentIndex(kAlbums - 1);
        MainForm->AlbumsComboBoxClick();
        MainForm->SongsListBox->setCurrentRow(kSongsPerAlbum - 1);  // runs the song's handler
    }
    if (MainForm->SongsListBox->count() != kSongsPerAlbum) state.SkipWithError("no songs");
    DestroyForms();
}
BENCHMARK(SelectAlbumThenSong)->Unit(benchmark::kMillisecond);

// The user chooses the performer, the last album and its last song, list by list; and the
// same song chosen among the search results (the main window's handler of that choice).
void ChooseSongByHand(benchmark::State& state) {
    QDir::setCurrent(bigCatalogue());
    CreateForms();
    for (auto _ : state) {
        MainForm->PerfComboBox->setCurrentIndex(0);
        MainForm->PerfComboBoxClick();
        MainForm->AlbumsComboBox->setCurrentIndex(kAlbums - 1);
        MainForm->AlbumsComboBoxClick();
        MainForm->SongsListBox->setCurrentRow(kSongsPerAlbum - 1);
    }
    if (MainForm->Song->toPlainText().isEmpty()) state.SkipWithError("no text shown");
    DestroyForms();
}
BENCHMARK(ChooseSongByHand)->Unit(benchmark::kMillisecond)->Repetitions(5);

void ChooseSearchResult(benchmark::State& state) {
    QDir::setCurrent(bigCatalogue());
    CreateForms();
    const QByteArray album = "Album " + QByteArray::number(kAlbums - 1);
    const QByteArray song = "Song " + QByteArray::number(kSongsPerAlbum - 1);
    for (auto _ : state) MainForm->ShowFoundSong("Big", album, song, 20);
    if (MainForm->SongsListBox->currentRow() != kSongsPerAlbum - 1 ||
        MainForm->Song->textCursor().selectedText() !=
            QStringLiteral("A line of the song with words enough to fill it"))
        state.SkipWithError("the found song is not shown");
    DestroyForms();
}
BENCHMARK(ChooseSearchResult)->Unit(benchmark::kMillisecond)->Repetitions(5);

const QString& longPerformerList() {
    static QTemporaryDir dir;
    static const QString root = [] {
        QDir().mkpath(dir.path() + QStringLiteral("/Data"));
        QByteArray list;
        for (int i = 0; i < 5000; ++i) list += "Performer number " + QByteArray::number(i) + "\r\n";
        writeFile(dir.path() + QStringLiteral("/Data/performers.lrx"), list);
        return dir.path();
    }();
    return root;
}

// Start-up is measured on whole processes: this same program started again in a child mode,
// once as an empty Qt application showing one widget and once as Cantoria showing its main
// window on the long performer list. The time is from starting the child to its window shown
// (the child tells the moment on the system's monotonic clock, which all processes share);
// the child then quits. Quitting is left out: closing the file watch's inotify descriptor
// waits for the kernel (8-17 ms here) at the end of the run, which no user waits for.
constexpr char kEmptyChild[] = "--start-empty-application";
constexpr char kProgramChild[] = "--start-program";
constexpr char kUnwatchedChild[] = "--start-program-without-watching";

void startChild(benchmark::State& state, const char* mode) {
    // The children keep their settings to themselves, away from the user's, as a user who
    // has started the program before (no first-run message).
    static QTemporaryDir home;
    static const bool settled = [] {
        QDir(home.path()).mkpath(QStringLiteral("software"));
        writeFile(home.path() + QStringLiteral("/software/Cantoria.ini"),
                  "[General]\nFirstRun=1\n");
        return true;
    }();
    (void)settled;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.path());  // the search index, kept
    QProcess child;
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(longPerformerList());
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto started = std::chrono::steady_clock::now();
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode)});
    bool read = false;
    const auto shown = std::chrono::steady_clock::time_point(
        std::chrono::nanoseconds(child.waitForFinished(60000) && child.exitCode() == 0
                                     ? child.readAllStandardOutput().trimmed().toLongLong(&read)
                                     : 0));
    if (!read || shown < started) {
        state.SkipWithError("the child did not start and quit cleanly");
        return;
    }
    state.SetIterationTime(std::chrono::duration<double>(shown - started).count());
}

// The child's part: the moment its window shows, for the parent.
void tellShown() {
    std::printf("%lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                           std::chrono::steady_clock::now().time_since_epoch())
                                           .count()));
    std::fflush(stdout);
}

void EmptyApplicationStarted(benchmark::State& state) {
    for (auto _ : state) startChild(state, kEmptyChild);
}
BENCHMARK(EmptyApplicationStarted)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(15);

void ProgramStarted(benchmark::State& state) {
    for (auto _ : state) startChild(state, kProgramChild);
}
BENCHMARK(ProgramStarted)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(15);

// What watching the files for others' changes adds to the start.
void ProgramStartedWithoutWatching(benchmark::State& state) {
    for (auto _ : state) startChild(state, kUnwatchedChild);
}
BENCHMARK(ProgramStartedWithoutWatching)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Repetitions(15);

int runChild(int argc, char** argv, const char* mode) {
    const bool empty = std::strcmp(mode, kEmptyChild) == 0;
    // The program's own start loads the fonts' configuration while the application is built.
    std::optional<FontConfigurationLoader> fonts;
    if (!empty) fonts.emplace();
    QApplication app(argc, argv);
    if (empty) {
        QWidget w;
        w.resize(688, 610);
        w.show();
        QApplication::processEvents();
        tellShown();
        return 0;
    }
    // As the program starts: the main window shows, then the other windows and the search
    // window are made, whose index is checked (and at the first start built) on a thread of
    // its own.
    ShowMainWindow(&*fonts);
    tellShown();
    CompleteStart(std::strcmp(mode, kUnwatchedChild) == 0 ? Watch::Nothing : Watch::Files);
    CreateSearchWindow();
    QApplication::processEvents();
    const bool listed = MainForm->PerfComboBox->count() == 5000;
    DestroySearchWindow();
    DestroyForms();
    return listed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 2 &&
        (std::strcmp(argv[1], kEmptyChild) == 0 || std::strcmp(argv[1], kProgramChild) == 0 ||
         std::strcmp(argv[1], kUnwatchedChild) == 0))
        return runChild(argc, argv, argv[1]);
    QApplication app(argc, argv);
    return RunWithRatios(argc, argv,
                         {{"SelectAlbumThenSong", "ReadBothFiles", 3.0},
                          {"ChooseSearchResult", "ChooseSongByHand", 1.2},
                          {"ProgramStarted", "EmptyApplicationStarted", 1.8},
                          {"ProgramStarted", "ProgramStartedWithoutWatching", 1.05}},
                         // whole starts differ by a few per cent from one to the next: the
                         // medians of starts taken in turns
                         {"--benchmark_enable_random_interleaving=true"});
}
