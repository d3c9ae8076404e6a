// Saves killed at any moment: the crash_child process saves a song's text and an album's song
// list again and again and is killed with SIGKILL after a random time; after each kill every
// file must be one whole version, readable by the store, and what the next start finds beside
// the files is cleared away.

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cerrno>
#include <csignal>
#include <optional>

#include "session/CatalogueSession.h"
#include "session/EditingCommands.h"
#include "store/Catalogue.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/PerformerRepository.h"
#include "store/StoreError.h"
#include "tests/helpers/AppFixture.h"
#include "tests/helpers/QuietFeedback.h"
#include "tests/helpers/SaveVersions.h"

namespace {

// What the child had done when it died, from its progress bytes.
struct Progress {
    bool ready = false;
    qint64 textBegun = 0, textDone = 0, songsBegun = 0, songsDone = 0;
    char phase = 'i';  // the file work under way: 'e' reading, 'w' writing, 'n' renaming

    explicit Progress(const QByteArray& out) {
        ready = out.contains('r');
        for (qsizetype i = out.size() - 1; i >= 0; --i)
            if (QByteArrayView("iewn").contains(out[i])) {
                phase = out[i];
                break;
            }
        textBegun = out.count('t');
        textDone = out.count('T');
        songsBegun = out.count('s');
        songsDone = out.count('S');
    }
    bool inSave() const { return textBegun > textDone || songsBegun > songsDone; }
    qint64 savesDone() const { return textDone + songsDone; }
};

// One file the child saves: the version it held before the child started, and how to read and
// rebuild it.
struct SavedFile {
    QString name;
    QString path;
    qint64 version = 0;
    QByteArray (SaveVersions::*bytesOf)(qint64) const;
    Lines (*load)(const QString& startDir);

    // The versions the file may hold after a child that started at `first` made `begun` saves
    // of it and finished `done`: the last one finished, and the one under way if any.
    QList<qint64> allowed(qint64 first, qint64 begun, qint64 done) const {
        QList<qint64> versions{done > 0 ? first + done - 1 : version};
        if (begun > done) versions.append(first + begun - 1);
        return versions;
    }
};

PerformerCatalogue LoadEdited(const QString& startDir) {
    return PerformerRepository(startDir).load(SaveVersions::performer());
}

Lines LoadEditedText(const QString& startDir) {
    return LoadEdited(startDir).textOf(SaveVersions::album(), SaveVersions::song());
}

Lines LoadEditedSongs(const QString& startDir) {
    return LoadEdited(startDir).songsOf(SaveVersions::album());
}

QString ChildPath() {
    return QStringLiteral(CANTORIA_CRASH_CHILD);
}

QStringList ChildArguments(const QString& startDir, quint32 seed, qint64 first) {
    return {startDir, QString::number(seed), QString::number(first)};
}

qint64 KillsWanted() {
    bool ok = false;
    const qint64 kills = qEnvironmentVariableIntValue("CANTORIA_CRASH_KILLS", &ok);
    return ok && kills > 0 ? kills : 30;
}

// The names a save of `target` leaves behind when killed before its rename.
bool LooksLikeSaveLeftover(const QString& entry, const QString& target) {
    static const QRegularExpression suffix(QStringLiteral("^\\.[A-Za-z0-9]{6}$"));
    return entry.startsWith(target) && suffix.match(entry.mid(target.size())).hasMatch();
}

QString PerformerFolder(const TempCatalogue& cat) {
    return cat.path(QStringLiteral("Data/") + cp1251::decode(SaveVersions::performer()));
}

// Waits until the child has begun writing its first new file.
bool WaitForFirstWrite(QProcess& child) {
    while (child.state() == QProcess::Running) {
        if (child.peek(1 << 16).contains('w')) return true;
        child.waitForReadyRead(100);
    }
    return false;
}

// Lets the child run for `ms`, timing each new file it writes from its start to the end of
// its rename.
void WatchWrites(QProcess& child, int ms, qint64* msInWrites, qint64* writesTimed) {
    QElapsedTimer clock;
    clock.start();
    qsizetype seen = child.bytesAvailable();
    qint64 writeBegun = -1;
    while (clock.elapsed() < ms && child.state() == QProcess::Running) {
        child.waitForReadyRead(int(ms - clock.elapsed()));
        const QByteArray out = child.peek(1 << 16);
        for (; seen < out.size(); ++seen) {
            if (out[seen] == 'w') writeBegun = clock.elapsed();
            if (out[seen] != 'i' || writeBegun < 0) continue;
            *msInWrites += clock.elapsed() - writeBegun;
            ++*writesTimed;
            writeBegun = -1;
        }
    }
}

class CrashTest : public AppTest {
  protected:
    CrashTest() : versions(seed) {
        cat.addPerformer(SaveVersions::performer(), SaveVersions::album() + "\r\n",
                         versions.songFile(0), versions.textFile(0));
    }

    QList<SavedFile> savedFiles() const {
        const QString folder = PerformerFolder(cat);
        return {
            {QStringLiteral("Texts.lrx"), folder + QStringLiteral("/Texts.lrx"), 0,
             &SaveVersions::textFile, LoadEditedText},
            {QStringLiteral("Songs.lrx"), folder + QStringLiteral("/Songs.lrx"), 0,
             &SaveVersions::songFile, LoadEditedSongs},
        };
    }

    // Empty when the file holds one of the allowed versions whole and the store reads that
    // version back from it; otherwise what is wrong.
    QString checkWhole(SavedFile& file, const QList<qint64>& allowed) const {
        const QByteArray bytes = cat.read(file.path.mid(cat.startDir().size() + 1));
        for (qint64 version : allowed) {
            if (bytes != (versions.*file.bytesOf)(version)) continue;
            const Lines body = file.load(cat.startDir());
            const Lines expected = file.name == QLatin1String("Texts.lrx")
                                       ? versions.lyrics(version)
                                       : versions.songs(version);
            if (body != expected) return file.name + QStringLiteral(": the store reads it wrong");
            file.version = version;
            return {};
        }
        return QStringLiteral("%1: %2 bytes, not version %3")
            .arg(file.name)
            .arg(bytes.size())
            .arg(QString::number(allowed.first()) +
                 (allowed.size() > 1 ? QStringLiteral(" or ") + QString::number(allowed.last())
                                     : QString()));
    }

    const quint32 seed = QRandomGenerator::global()->generate();
    const SaveVersions versions;
};

// The entries of a folder that are not the catalogue's own.
QStringList StrangeEntries(const QString& folder, const QStringList& own) {
    QStringList strange =
        fileio::listDir(folder, int(fileio::Listing::Files) | int(fileio::Listing::Dirs) |
                                    int(fileio::Listing::Hidden));
    strange.removeIf([&](const QString& name) { return own.contains(name); });
    return strange;
}

TEST_F(CrashTest, EverySaveKilledAtARandomMomentLeavesWholeFilesAndNoLeftovers) {
    const qint64 kills = KillsWanted();
    QList<SavedFile> files = savedFiles();
    const QString folder = PerformerFolder(cat);
    const QStringList ownEntries{QStringLiteral("Albums.lrx"), QStringLiteral("Songs.lrx"),
                                 QStringLiteral("Texts.lrx"), QStringLiteral("Image")};
    qint64 survived = 0, damagedFiles = 0, inSave = 0, leftovers = 0, leftoversKept = 0;
    qint64 duringWriting = 0, duringRename = 0;
    qint64 first = 1, savesDone = 0, msInSaves = 0, msInWrites = 0, writesTimed = 0;
    // A loaded machine may let a few aimed kills land after the write they aimed at: the test
    // kills on, up to three times as often, until a fifth of its kills hit a save under way.
    const auto enoughInSaves = [&](qint64 made) {
        return 5 * (duringWriting + duringRename) >= made;
    };
    qint64 made = 0;
    for (; made < kills || (!enoughInSaves(made) && made < 3 * kills); ++made) {
        const qint64 kill = made;
        QProcess child;
        child.start(ChildPath(), ChildArguments(cat.startDir(), seed, first));
        ASSERT_TRUE(child.waitForStarted(30000)) << child.errorString().toStdString();
        while (!child.peek(1).contains('r') && child.state() == QProcess::Running)
            child.waitForReadyRead(100);
        // Every other kill spreads over about two saves of each file, as long as saves take so
        // far; writing a file is a small part of a save, so the others wait for the child to
        // begin its first new file and fall within about as long as writing one takes.
        const bool aimed = kill % 2 == 1;
        const qint64 averageSave = savesDone ? qMax<qint64>(1, msInSaves / savesDone) : 100;
        const qint64 averageWrite = writesTimed ? qMax<qint64>(1, msInWrites / writesTimed) : 20;
        if (aimed) {
            ASSERT_TRUE(WaitForFirstWrite(child));
        }
        const int waitMs = int(QRandomGenerator::global()->bounded(aimed ? 3 * averageWrite / 2 + 1
                                                                         : 4 * averageSave + 1));
        QElapsedTimer running;
        running.start();
        WatchWrites(child, waitMs, &msInWrites, &writesTimed);
        ASSERT_EQ(child.state(), QProcess::Running)
            << "the child stopped by itself: " << child.readAllStandardError().toStdString();
        child.kill();
        ASSERT_TRUE(child.waitForFinished(30000));
        const Progress progress(child.readAllStandardOutput());
        ASSERT_TRUE(progress.ready);
        if (!aimed) {
            savesDone += progress.savesDone();
            msInSaves += running.elapsed();
        }
        inSave += progress.inSave() ? 1 : 0;
        duringWriting += progress.phase == 'w' ? 1 : 0;
        duringRename += progress.phase == 'n' ? 1 : 0;

        QStringList problems;
        const QStringList found = StrangeEntries(folder, ownEntries);
        for (const QString& entry : found) {
            const bool ours = LooksLikeSaveLeftover(entry, QStringLiteral("Texts.lrx")) ||
                              LooksLikeSaveLeftover(entry, QStringLiteral("Songs.lrx"));
            if (!ours) problems << QStringLiteral("unknown entry ") + entry;
            if (ours && fileio::interruptedSaveTarget(entry).isEmpty()) {
                // Its random suffix reads like a name a person chose: the start keeps it.
                ++leftoversKept;
                QFile::remove(folder + u'/' + entry);
            }
        }
        leftovers += found.size();
        RemoveInterruptedSaves(cat.startDir());
        if (!StrangeEntries(folder, ownEntries).isEmpty())
            problems << QStringLiteral("left after the start: ") +
                            StrangeEntries(folder, ownEntries).join(u' ');

        const qint64 begun[] = {progress.textBegun, progress.songsBegun};
        const qint64 done[] = {progress.textDone, progress.songsDone};
        for (int f = 0; f < files.size(); ++f) {
            const QString problem =
                checkWhole(files[f], files[f].allowed(first, begun[f], done[f]));
            if (problem.isEmpty()) continue;
            problems << problem;
            ++damagedFiles;
        }
        if (problems.isEmpty()) {
            ++survived;
        } else {
            ADD_FAILURE() << "kill " << kill << " after " << waitMs
                          << " ms: " << problems.join(QStringLiteral("; ")).toStdString();
        }
        first += progress.textBegun;
    }
    std::printf(
        "crash test: %lld kills survived, %lld damaged files, %lld kills during a save, "
        "%lld leftovers of saves found (%lld of them with a name the start keeps), "
        "%lld saves finished\n",
        survived, damagedFiles, inSave, leftovers, leftoversKept, savesDone);
    std::printf("crash: %lld kills, %lld during writing, %lld during rename, %lld damaged\n", made,
                duringWriting, duringRename, damagedFiles);
    EXPECT_EQ(damagedFiles, 0);
    EXPECT_EQ(survived, made);
    // Kills that never hit a save under way would prove nothing.
    EXPECT_TRUE(enoughInSaves(made));
}

// A real kill at the worst moment: the new text has its name beside the file and has not yet
// replaced it. strace stops the child with SIGKILL at its first rename, before it happens.
TEST_F(CrashTest, ASaveKilledBeforeItsRenameLeavesNothingAfterTheNextStart) {
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty()) CANTORIA_SKIP_UNLESS_REQUIRED("strace is not installed");
    QProcess child;
    child.start(
        strace,
        QStringList{QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-o"),
                    QStringLiteral("/dev/null"), QStringLiteral("-e"),
                    QStringLiteral("trace=rename"), QStringLiteral("-e"),
                    QStringLiteral("inject=rename:error=EIO:signal=KILL:when=1"), ChildPath()} +
            ChildArguments(cat.startDir(), seed, 1));
    ASSERT_TRUE(child.waitForFinished(120000));
    // strace ends the way its child ended: killed by the same signal.
    const bool killed =
        child.exitStatus() == QProcess::CrashExit || child.exitCode() == 128 + SIGKILL;
    if (!killed)
        CANTORIA_SKIP_UNLESS_REQUIRED(
            "strace cannot stop the child here: " << child.readAllStandardError().toStdString());
    ASSERT_EQ(Progress(child.readAllStandardOutput()).textDone, 0);
    const QString folder = PerformerFolder(cat);
    const QStringList left =
        StrangeEntries(folder, {QStringLiteral("Albums.lrx"), QStringLiteral("Songs.lrx"),
                                QStringLiteral("Texts.lrx"), QStringLiteral("Image")});
    ASSERT_EQ(left.size(), 1) << left.join(u' ').toStdString();
    ASSERT_TRUE(LooksLikeSaveLeftover(left.first(), QStringLiteral("Texts.lrx")));
    const QString performer = QStringLiteral("Data/") + cp1251::decode(SaveVersions::performer());
    EXPECT_EQ(cat.read(performer + QStringLiteral("/Texts.lrx")), versions.textFile(0));
    EXPECT_EQ(cat.read(performer + u'/' + left.first()), versions.textFile(1));

    // What the start must keep: names a person chose, entries that are not plain files,
    // leftovers of files that are not there or not the catalogue's, anything behind a link.
    const QStringList keep{
        QStringLiteral("Texts.lrx.backup"),     QStringLiteral("Texts.lrx.Backup"),
        QStringLiteral("Texts.lrx.202401"),     QStringLiteral("Texts.lrx.OLDONE"),
        QStringLiteral("Texts.lrx.old"),        QStringLiteral("Texts.lrx.Ab3xQz7"),
        QStringLiteral("Texts.lrx~"),           QStringLiteral("Texts.lrxAb3xQz"),
        QStringLiteral("Notes.txt.Ab3xQz"),     QStringLiteral("Image/cover.png.Ab3xQz"),
        QStringLiteral("Image/Нет.jpg.Ab3xQz"), QStringLiteral(".Ab3xQz")};
    for (const QString& name : keep) cat.write(performer + u'/' + name, "user's\r\n");
    cat.write(performer + QStringLiteral("/Notes.txt"), "user's\r\n");
    cat.write(performer + QStringLiteral("/Image/cover.png"), "user's\r\n");
    cat.write(QStringLiteral("outside/Songs.lrx"), "outside\r\n");
    cat.write(QStringLiteral("outside/Songs.lrx.Zx9kQ2"), "outside\r\n");
    ASSERT_TRUE(QFile::link(cat.path(QStringLiteral("outside/Songs.lrx")),
                            folder + QStringLiteral("/Songs.lrx.Zx9kQ2")));
    cat.mkdir(performer + QStringLiteral("/Albums.lrx.Qw3rT9"));
    ASSERT_TRUE(
        QFile::link(cat.path(QStringLiteral("outside")), cat.path(QStringLiteral("Data/Linked"))));
    // Leftovers the start removes besides the text file's.
    const QStringList ours{QStringLiteral("Data/performers.lrx.Mn4Bv8"),
                           QStringLiteral("Data/Settings.ini.p0Q9rS"),
                           performer + QStringLiteral("/Image/Альбом.jpg.Pq7Zr2")};
    cat.write(QStringLiteral("Data/Settings.ini"), "[font]\r\n");
    cat.write(performer + QStringLiteral("/Image/Альбом.jpg"), SmallJpeg(4, 4));
    for (const QString& name : ours) cat.write(name, "half a save");

    start();

    EXPECT_FALSE(cat.exists(performer + u'/' + left.first()));
    for (const QString& name : ours) EXPECT_FALSE(cat.exists(name)) << name.toStdString();
    for (const QString& name : keep)
        EXPECT_EQ(cat.read(performer + u'/' + name), "user's\r\n") << name.toStdString();
    EXPECT_TRUE(fileio::isSymLink(folder + QStringLiteral("/Songs.lrx.Zx9kQ2")));
    EXPECT_TRUE(cat.exists(QStringLiteral("outside/Songs.lrx.Zx9kQ2")));
    EXPECT_TRUE(fileio::isDir(folder + QStringLiteral("/Albums.lrx.Qw3rT9")));
    EXPECT_EQ(cat.read(performer + QStringLiteral("/Texts.lrx")), versions.textFile(0));
    EXPECT_TRUE(messages().isEmpty());
}

// Saving through a link would change a file wherever it points, or replace the link with a
// plain file: every save refuses it and changes nothing.
TEST_F(CrashTest, NoSaveWritesThroughALink) {
    const QString folder = PerformerFolder(cat);
    cat.write(QStringLiteral("elsewhere.lrx"), "elsewhere\r\n");
    const QString elsewhere = cat.path(QStringLiteral("elsewhere.lrx"));
    const QString texts = folder + QStringLiteral("/Texts.lrx");
    ASSERT_TRUE(QFile::remove(texts));
    ASSERT_TRUE(QFile::link(elsewhere, texts));
    const QString dangling = cat.path(QStringLiteral("Data/performers.lrx"));
    ASSERT_TRUE(QFile::remove(dangling));
    ASSERT_TRUE(QFile::link(cat.path(QStringLiteral("nowhere.lrx")), dangling));

    const auto refused = [](const std::function<void()>& save) -> std::optional<int> {
        try {
            save();
        } catch (const StoreError& e) {
            return e.error();
        }
        return std::nullopt;
    };
    EXPECT_EQ(refused([&] { WriteRecordFile(texts, {"new"}); }), ELOOP);
    EXPECT_EQ(refused([&] { AppendRecordFile(texts, {"new"}); }), ELOOP);
    QDir::setCurrent(cat.startDir());
    CatalogueSession session;
    QuietFeedback quiet;
    SaveSongTextCommand save(
        {SaveVersions::performer(), SaveVersions::album(), SaveVersions::song()}, {"new"});
    EXPECT_EQ(session.execute(save, quiet), Outcome::Failed);
    EXPECT_EQ(quiet.errors, QStringList{"I/O error 40"});
    EXPECT_EQ(refused([&] { WriteRecordFile(dangling, {"new"}); }), ELOOP);
    EXPECT_EQ(StoreError(ELOOP, texts).description(), QStringLiteral("I/O error 40"));
    EXPECT_TRUE(fileio::isSymLink(texts));
    EXPECT_TRUE(fileio::isSymLink(dangling));
    EXPECT_EQ(cat.read(QStringLiteral("elsewhere.lrx")), "elsewhere\r\n");
    EXPECT_FALSE(cat.exists(QStringLiteral("nowhere.lrx")));
}

}  // namespace
