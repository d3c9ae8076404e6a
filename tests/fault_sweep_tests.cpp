// The fault sweep: every command that writes runs from the main window once for each of its
// I/O calls, with that call failing (once, and from then on), and after each run the files of
// the working directory are checked byte for byte against their state before the command and
// after a clean run of it. The numbers it prints are the proof that no disk failure garbles
// or loses a file, and that no failure passes for success.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "app/Forms.h"
#include "dialogs/AddPerfSelectForm.h"
#include "dialogs/AlbNameEditForm.h"
#include "dialogs/AlbumsForm.h"
#include "dialogs/AvtorForm.h"
#include "dialogs/PerfNameEditForm.h"
#include "dialogs/SongForm.h"
#include "dialogs/SongNameEditForm.h"
#include "dialogs/SongsForm.h"
#include "importwindows/AddPerfBaseForm.h"
#include "importwindows/ExportForm.h"
#include "importwindows/ScanerForm.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/PictureView.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FirstRunFlag.h"
#include "support/FolderBrowseDialog.h"
#include "tests/helpers/AppFixture.h"

namespace {

using fileio::FaultMode;
using Files = QMap<QString, QByteArray>;

const QString kMissing = QStringLiteral("<missing>");
const int kErrors[] = {ENOSPC, EIO, EACCES, EROFS};

void emptyFolder(const QString& root) {
    QDir dir(root);
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
}

// The files that hold neither their old nor their new bytes (or exist where neither state
// has them), as "path" lines for the failure message.
QStringList damagedFiles(const Files& now, const Files& before, const Files& after) {
    QStringList damaged;
    QSet<QString> paths;
    for (const Files* state : {&now, &before, &after})
        for (auto it = state->begin(); it != state->end(); ++it) paths.insert(it.key());
    for (const QString& path : paths) {
        const auto bytes = [&](const Files& f) {
            return f.contains(path) ? f.value(path) : kMissing.toUtf8();
        };
        if (bytes(now) != bytes(before) && bytes(now) != bytes(after)) damaged << path;
    }
    damaged.sort();
    return damaged;
}

// Every song with its lyrics ("performer/album/song=text") of one state is still there.
bool allLyricsIn(const QStringList& state, const QStringList& browsed) {
    for (const QString& entry : state)
        if (entry.contains(u'=') && !browsed.contains(entry)) return false;
    return true;
}

// A failure the user is told of: a message box the clean run did not show.
bool toldTheUser(const QStringList& shown, QStringList clean) {
    for (const QString& box : shown)
        if (!clean.removeOne(box)) return true;
    return false;
}

struct Tally {
    long runs = 0;
    long faultPoints = 0;   // runs in which a call of the command was made to fail
    long damaged = 0;       // runs that left a file neither old nor new
    long silent = 0;        // runs that changed less than a clean run, without a word
    long falseAlarm = 0;    // runs that ended with every file new and still showed an error
    long mixed = 0;         // runs that left files each old or new, but not all of one state
    long mixedOnce = 0;     // the same after one failure, the undo free to work
    long inconsistent = 0;  // runs after which the catalogue reads neither old nor new
    long lost = 0;          // runs after which lyrics of both states are out of reach (one failure)
    long lostDeadDisk = 0;  // the same when every call fails from then on, the undo too

    void add(const Tally& t) {
        runs += t.runs;
        faultPoints += t.faultPoints;
        damaged += t.damaged;
        silent += t.silent;
        falseAlarm += t.falseAlarm;
        mixed += t.mixed;
        mixedOnce += t.mixedOnce;
        inconsistent += t.inconsistent;
        lost += t.lost;
        lostDeadDisk += t.lostDeadDisk;
    }
    void print(const std::string& name) const {
        std::printf("%-18s %6ld %7ld %8ld %7ld %6ld %6ld %10ld %13ld %5ld %10ld\n", name.c_str(),
                    runs, faultPoints, damaged, silent, falseAlarm, mixed, mixedOnce, inconsistent,
                    lost, lostDeadDisk);
    }
};

std::map<std::string, Tally>& tallies() {
    static std::map<std::string, Tally> all;
    return all;
}

// Prints the figures once every sweep of this run has been done.
class SweepReport : public ::testing::Environment {
  public:
    void TearDown() override {
        if (tallies().empty()) return;
        std::printf("\n%-18s %6s %7s %8s %7s %6s %6s %10s %13s %5s %10s\n", "command", "runs",
                    "points", "damaged", "silent", "alarm", "mixed", "mixed once", "inconsistent",
                    "lost", "dead disk");
        Tally total;
        for (const auto& [name, t] : tallies()) {
            t.print(name);
            total.add(t);
        }
        total.print("total");
        std::fflush(stdout);
    }
};
[[maybe_unused]] const auto* const kReport = ::testing::AddGlobalTestEnvironment(new SweepReport);

// ---------------------------------------------------------------- the catalogue

const QByteArray kKino = W("Кино");
const QByteArray kAlisa = W("Алиса");
const QString kStar = U("Звезда");
const QString kBlood = U("Группа крови");
const QString kSong = U("Кукушка");

// Two performers, albums with songs and Cyrillic lyrics, a picture; beside Data/ a picture
// to attach, a folder of lyrics to scan and another copy's performer folder to import.
void layOut(const TempCatalogue& cat, bool full) {
    cat.addPerformer(kKino, W("Звезда\r\nГруппа крови\r\n"),
                     W("Звезда##-**~\r\nКукушка\r\nЛето\r\nendalbum\r\n"
                       "Группа крови##-**~\r\nГруппа крови\r\nendalbum\r\n"),
                     W("Звезда ##-**~ Кукушка\r\nПесен ещё ненаписанных сколько?\r\n"
                       "Скажи, кукушка, пропой.\r\nendsong\r\n"
                       "Группа крови ##-**~ Группа крови\r\nТёплое место, но улицы ждут\r\n"
                       "endsong\r\n"));
    cat.write(QStringLiteral("Data/Кино/Image/Звезда.jpg"), SmallJpeg(4, 3));
    cat.addPerformer(kAlisa, W("Шабаш\r\n"), W("Шабаш##-**~\r\nТрасса Е-95\r\nendalbum\r\n"),
                     W("Шабаш ##-**~ Трасса Е-95\r\nЭто моя звезда\r\nendsong\r\n"));
    cat.write(QStringLiteral("Data/Алиса/Image/Шабаш.jpg"), SmallJpeg(5, 4));
    cat.write(QStringLiteral("pick/cover.jpg"), SmallJpeg(6, 5));
    cat.write(QStringLiteral("pick/cover.bmp"), SmallBitmap(7, 5));
    cat.write(QStringLiteral("scan/Альбом/Песня.txt"), W("Первая строка\r\nВторая\r\n"));
    cat.write(QStringLiteral("scan/Альбом/Вторая.txt"), W("Ещё\r\n"));
    cat.write(QStringLiteral("base/Data/Ария/Albums.lrx"), W("Герой асфальта\r\n"));
    cat.write(QStringLiteral("base/Data/Ария/Songs.lrx"),
              W("Герой асфальта##-**~\r\nБаллада\r\nendalbum\r\n"));
    cat.write(QStringLiteral("base/Data/Ария/Texts.lrx"),
              W("Герой асфальта ##-**~ Баллада\r\nВ дымном зале\r\nendsong\r\n"));
    cat.write(QStringLiteral("base/Data/Ария/Image/Герой асфальта.jpg"), SmallJpeg(3, 3));
    // Another copy's Алиса, with other lyrics and another picture, to replace this one's.
    cat.write(QStringLiteral("base/Data/Алиса/Albums.lrx"), W("Шабаш\r\nЧёрная метка\r\n"));
    cat.write(QStringLiteral("base/Data/Алиса/Songs.lrx"),
              W("Шабаш##-**~\r\nТрасса Е-95\r\nendalbum\r\n"
                "Чёрная метка##-**~\r\nНебо славян\r\nendalbum\r\n"));
    cat.write(QStringLiteral("base/Data/Алиса/Texts.lrx"),
              W("Шабаш ##-**~ Трасса Е-95\r\nЭто моя звезда, это мой путь\r\nendsong\r\n"
                "Чёрная метка ##-**~ Небо славян\r\nНебо славян\r\nendsong\r\n"));
    cat.write(QStringLiteral("base/Data/Алиса/Image/Чёрная метка.jpg"), SmallJpeg(7, 6));
    if (!full) return;
    // A bigger catalogue for the long sweep: more albums, songs and pictures to carry.
    for (int i = 1; i <= 12; ++i) {
        const QString album = QStringLiteral("Альбом %1").arg(i);
        cat.write(QStringLiteral("Data/Кино/Image/%1.jpg").arg(album), SmallJpeg(2, 2));
        cat.write(QStringLiteral("scan/%1/Песня %2.txt").arg(album).arg(i), W("Куплет\r\n"));
    }
}

bool fullSweep() {
    return qEnvironmentVariableIntValue("CANTORIA_SWEEP_FULL") == 1;
}

void closeIfOpen(QDialog* dialog) {
    if (dialog->isVisible()) dialog->reject();
}

// ---------------------------------------------------------------- the sweep

// A failing write stops after half, none or all of its bytes, or is short and goes on.
constexpr fileio::WriteFault kWriteFaults[] = {
    fileio::WriteFault::Half, fileio::WriteFault::Nothing, fileio::WriteFault::Everything,
    fileio::WriteFault::ShortThenResumed};

struct Command {
    std::string name;
    std::function<void()> setUp;  // the user's choices before the command, no faults
    std::function<void()> run;    // the command, from the main window's button on
    // After one failure the files are all old or all new: the command undoes its first steps.
    bool allOrNothing = false;
    // Files a command may leave as they were without a word (a clean-up that tries again).
    QStringList mayStay = {};
};

// The files as they are, but with those that may stay as they were taken from `after`.
Files withStayersAsAfter(Files now, const Files& after, const QStringList& mayStay) {
    for (const QString& path : mayStay) {
        now.remove(path);
        if (after.contains(path)) now.insert(path, after.value(path));
    }
    return now;
}

class FaultSweep : public AppTest {
  protected:
    // A fresh copy of the catalogue and a freshly started program, in edit mode, with the
    // command's choices made.
    void restart(const Command& command) {
        DestroyForms();
        fileio::clearFaults();
        emptyFolder(cat.startDir());
        layOut(cat, fullSweep());
        start();
        MainForm->RedONSpeedButton->click();
        command.setUp();
        modal.takeShown();
    }

    // The catalogue as the user sees it: every performer, album and song chosen in turn,
    // with the lyrics, whether a picture shows, and every message on the way.
    QStringList browse() {
        QStringList seen;
        QComboBox* performers = MainForm->PerfComboBox;
        for (int p = 0; p < performers->count(); ++p) {
            pick(performers, p);
            QComboBox* albums = MainForm->AlbumsComboBox;
            for (int a = 0; a < albums->count(); ++a) {
                pick(albums, a);
                const QString at = performers->itemText(p) + u'/' + albums->itemText(a);
                seen << at + (MainForm->Image->isHidden() ? QString()
                                                          : QStringLiteral(" [picture]"));
                QListWidget* songs = MainForm->SongsListBox;
                for (int s = 0; s < songs->count(); ++s) {
                    const QPoint where = songs->visualItemRect(songs->item(s)).center();
                    QTest::mouseClick(songs->viewport(), Qt::LeftButton, Qt::NoModifier, where);
                    seen << at + u'/' + songs->item(s)->text() + u'=' +
                                MainForm->Song->toPlainText();
                }
            }
        }
        seen << messages();
        return seen;
    }
    static void pick(QComboBox* combo, int i) {
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }

    // The catalogue browsed in a freshly started program.
    QStringList browseAfterRestart() {
        DestroyForms();
        start();
        return browse();
    }

    struct Outcome {
        Files files;
        QStringList shown;
        QStringList browsed;
        long calls = 0;
    };

    Outcome cleanRun(const Command& command) {
        restart(command);
        Outcome o;
        o.browsed = browseAfterRestart();
        restart(command);
        o.files = SnapshotTree(cat.startDir());
        fileio::clearFaults();
        command.run();
        o.calls = fileio::callsMade();
        o.shown = messages();
        EXPECT_EQ(modal.pendingDialogs(), 0u) << command.name << ": a dialog was never shown";
        return o;
    }

    void sweep(const Command& command) {
        const Outcome before = cleanRun(command);
        const QStringList beforeBrowsed = before.browsed;
        Outcome after;
        after.files = SnapshotTree(cat.startDir());
        after.shown = before.shown;
        after.browsed = browseAfterRestart();
        ASSERT_NE(before.files, after.files) << command.name << " writes nothing";
        ASSERT_GT(before.calls, 0);

        Tally& tally = tallies()[command.name];
        int errorIndex = 0;
        for (FaultMode mode : {FaultMode::Once, FaultMode::FromThenOn}) {
            for (long n = 1;; ++n) {
                const int error = kErrors[errorIndex++ % 4];
                restart(command);
                fileio::failAt(n, error, mode);
                fileio::setWriteFault(kWriteFaults[n % 4]);
                command.run();
                const long injected = fileio::faultsInjected();
                const bool readFailed = fileio::readFaultsInjected() > 0;
                fileio::clearFaults();
                ++tally.runs;
                const QString where = QStringLiteral("%1, call %2 failing %3 with errno %4")
                                          .arg(QString::fromStdString(command.name))
                                          .arg(n)
                                          .arg(mode == FaultMode::Once ? "once" : "from then on")
                                          .arg(error);
                modal.dropPendingDialogs();  // a command that stopped before its dialog
                const QStringList shown = messages();
                const Files now = SnapshotTree(cat.startDir());
                if (injected == 0) {
                    EXPECT_EQ(now, after.files) << where.toStdString();
                    EXPECT_EQ(n, before.calls + 1) << where.toStdString();
                    break;
                }
                ++tally.faultPoints;
                check(tally, where, mode, command, readFailed, now, before, after, shown);
                goesOnWorking(tally, where, mode, now, before, after, beforeBrowsed, command);
            }
        }
    }

    void check(Tally& tally, const QString& where, FaultMode mode, const Command& command,
               bool readFailed, const Files& now, const Outcome& before, const Outcome& after,
               const QStringList& shown) {
        const QStringList damaged = damagedFiles(now, before.files, after.files);
        if (!damaged.isEmpty()) {
            ++tally.damaged;
            ADD_FAILURE() << where.toStdString()
                          << ": neither old nor new: " << damaged.join(u", ").toStdString();
        }
        const bool told = toldTheUser(shown, after.shown);
        if (withStayersAsAfter(now, after.files, command.mayStay) != after.files && !told) {
            ++tally.silent;
            ADD_FAILURE() << where.toStdString() << ": failed without a word";
        }
        // A read that failed is told even when every write went through: what the window
        // shows could not be read. When every call fails from then on, the undo fails too, and
        // a command stopped at its last step may be left with every file new and rightly say
        // that it failed.
        if (mode == FaultMode::Once && now == after.files && told && !readFailed) {
            ++tally.falseAlarm;
            ADD_FAILURE() << where.toStdString() << ": every file is new, yet an error was shown: "
                          << shown.join(u" / ").toStdString();
        }
        if (now != before.files && now != after.files) {
            ++tally.mixed;
            if (mode == FaultMode::Once) ++tally.mixedOnce;
            if (mode == FaultMode::Once && command.allOrNothing)
                ADD_FAILURE() << where.toStdString() << ": left a mix of old and new files";
        }
    }

    // With the faults gone the program goes on: the catalogue can be browsed and shows either
    // the old or the new state, and a command that changed nothing succeeds when repeated.
    void goesOnWorking(Tally& tally, const QString& where, FaultMode mode, const Files& now,
                       const Outcome& before, const Outcome& after,
                       const QStringList& beforeBrowsed, const Command& command) {
        browse();
        const QStringList browsed = browseAfterRestart();
        if (browsed != beforeBrowsed && browsed != after.browsed) {
            ++tally.inconsistent;
            if (!allLyricsIn(beforeBrowsed, browsed) && !allLyricsIn(after.browsed, browsed)) {
                // Undoing the first steps needs the disk that has just failed: when every call
                // fails from then on, the undo fails too, and only the message remains.
                ++(mode == FaultMode::Once ? tally.lost : tally.lostDeadDisk);
                if (mode == FaultMode::Once)
                    ADD_FAILURE() << where.toStdString()
                                  << ": lyrics out of reach; the catalogue reads\n"
                                  << browsed.join(u'\n').toStdString();
            }
        }
        if (now != before.files) return;
        restart(command);
        command.run();
        EXPECT_EQ(SnapshotTree(cat.startDir()), after.files) << where.toStdString() << ", repeated";
        EXPECT_EQ(messages(), after.shown) << where.toStdString() << ", repeated";
    }

    // ---- the commands, as a user gives them

    static void hoverThenClick(void (TMainForm::*hover)(), QToolButton* button) {
        (MainForm->*hover)();
        button->click();
    }

    // The new-performer button, the way chosen in the choice dialog, then `enter` in the
    // window that way opens.
    void addPerformer(QRadioButton* TAddPerfSelectForm::*way, std::function<void(QDialog*)> enter) {
        modal.onDialog([way](QDialog* d) {
            auto* select = static_cast<TAddPerfSelectForm*>(d);
            (select->*way)->click();
            select->Button1->click();
        });
        modal.onDialog([enter](QDialog* d) {
            enter(d);
            closeIfOpen(d);
        });
        MainForm->PlusPerfSpeedButton->click();
    }

    void addByHand(const QString& name) {
        addPerformer(&TAddPerfSelectForm::RadioButton2, [name](QDialog* d) {
            auto* f = static_cast<TAvtorForm*>(d);
            f->VvodAvtEdit->setText(name);
            f->SaveAvtButton->click();
        });
    }

    void importBase(const QString& folder) {
        addPerformer(&TAddPerfSelectForm::RadioButton1, [folder](QDialog* d) {
            auto* f = static_cast<TAddPerfBaseForm*>(d);
            f->Edit1->setText(folder);
            f->Button2->click();
        });
    }

    template <typename FormT>
    void editMemo(QToolButton* button, const QString& text, QPushButton* FormT::*save) {
        modal.onDialog([text, save](QDialog* d) {
            auto* f = static_cast<FormT*>(d);
            f->Memo1->setPlainText(text);
            (f->*save)->click();
            closeIfOpen(f);
        });
        button->click();
    }

    void rename(void (TMainForm::*hover)(), QToolButton* button, const QString& name) {
        modal.onDialog([name](QDialog* d) {
            auto* f = static_cast<RenameForm*>(d);
            f->Edit1->setText(name);
            f->SaveButton->click();
            closeIfOpen(f);
        });
        hoverThenClick(hover, button);
    }

    void scan() {
        const QString folder = cat.path(QStringLiteral("scan"));
        modal.onDialog([folder](QDialog* d) {
            auto* f = static_cast<TScanerForm*>(d);
            f->Edit1->setText(folder);
            f->ScanButton->click();
            closeIfOpen(f);
        });
        MainForm->ScanerSpeedButton->click();
    }

    void attachPicture(const QString& file = QStringLiteral("pick/cover.jpg")) {
        modal.chooseFile(cat.path(file));
        MainForm->ImageSpeedButton->click();
    }

    // The folder picker's New folder, below the scan folder (the program's own pickers hide
    // it; the picker offers it to whoever shows it).
    void newFolder() {
        TFolderBrowseDialog picker(MainForm, "0409");
        picker.SetFolder(cat.path(QStringLiteral("scan")));
        modal.typeText(U("Новая/Вложенная"));
        modal.onDialog([](QDialog* d) {
            d->findChild<QPushButton*>(QStringLiteral("NewFolderButton"))->click();
        });
        modal.onDialog([](QDialog* d) {
            d->findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
        });
        picker.Execute();
    }

    // A start in a working directory whose list file is gone and where a save was killed.
    static void layOutInterruptedStart(const TempCatalogue& cat) {
        QFile::remove(cat.path(QStringLiteral("Data/performers.lrx")));
        cat.write(QStringLiteral("Data/Кино/Texts.lrx.Ab3xQz"), "half a save");
    }
    static void startAgain() {
        DestroyForms();
        CreateForms();
    }

    std::function<void()> choose(const QString& performer, const QString& album = {},
                                 const QString& song = {}) {
        return [=] {
            choosePerformer(performer);
            if (!album.isEmpty()) chooseAlbum(album);
            if (!song.isEmpty()) chooseSong(song);
        };
    }

    Command lyricsSave() {
        return {"lyrics", choose(U("Кино"), kStar, kSong), [this] {
                    editMemo<TSongForm>(MainForm->SongEdSpeedButton,
                                        U("Песен ещё ненаписанных сколько?\nСкажи, кукушка.\n"),
                                        &TSongForm::Button1Save);
                }};
    }
    Command performerRename() {
        return {"performer rename", choose(U("Кино")), [this] {
                    rename(&TMainForm::PerformersSpeedButtonMouseMove,
                           MainForm->EditPerfNameSpeedButton, U("Кино и Цой"));
                }};
    }
    Command performerDeletion() {
        return {"performer deletion", choose(U("Кино")),
                [] { MainForm->DelAvtSpeedButton->click(); }};
    }
};

TEST_F(FaultSweep, NewPerformer) {
    sweep({"new performer", [] {}, [&] { addByHand(U("ДДТ")); }, true});
}

TEST_F(FaultSweep, AlbumListSave) {
    sweep({"album list", choose(U("Кино")), [&] {
               editMemo<TAlbumsForm>(MainForm->EditAlbListSpeedButton,
                                     U("Звезда\nГруппа крови\nНачальник камчатки"),
                                     &TAlbumsForm::SaveButton);
           }});
}

TEST_F(FaultSweep, SongListSave) {
    sweep({"song list", choose(U("Кино"), kStar), [&] {
               editMemo<TSongsForm>(MainForm->EditSongsListSpeedButton, U("Кукушка\nЛето\nПередай"),
                                    &TSongsForm::Button1);
           }});
}

TEST_F(FaultSweep, LyricsSave) {
    sweep(lyricsSave());
}

TEST_F(FaultSweep, PerformerRename) {
    sweep(performerRename());
}

TEST_F(FaultSweep, AlbumRename) {
    sweep({"album rename", choose(U("Кино"), kStar), [&] {
               rename(&TMainForm::EdAlbumSpeedButtonMouseMove, MainForm->EditAlbNameSpeedButton,
                      U("Звезда по имени Солнце"));
           }});
}

TEST_F(FaultSweep, SongRename) {
    sweep({"song rename", choose(U("Кино"), kStar, kSong), [&] {
               rename(&TMainForm::SongsSpeedButtonMouseMove, MainForm->EditSongNameSpeedButton,
                      U("Кукушка (live)"));
           }});
}

TEST_F(FaultSweep, PictureAttach) {
    sweep({"picture attach", choose(U("Кино"), kBlood), [&] { attachPicture(); }});
}

TEST_F(FaultSweep, PictureReplace) {
    sweep({"picture replace", choose(U("Кино"), kStar), [&] { attachPicture(); }});
}

TEST_F(FaultSweep, PictureRemove) {
    sweep({"picture remove", choose(U("Кино"), kStar),
           [] { MainForm->DelImageSpeedButton->click(); }});
}

TEST_F(FaultSweep, PerformerDeletion) {
    sweep(performerDeletion());
}

// Undo and redo write back whole changes: after one failure every file is old or new.
TEST_F(FaultSweep, UndoAndRedo) {
    for (const Command& done : {lyricsSave(), performerRename(), performerDeletion()}) {
        sweep({done.name + " undone",
               [this, done] {
                   done.setUp();
                   done.run();
               },
               [] { MainForm->UndoItem->trigger(); }, true});
        sweep({done.name + " redone",
               [this, done] {
                   done.setUp();
                   done.run();
                   MainForm->UndoItem->trigger();
               },
               [] { MainForm->RedoItem->trigger(); }, true});
    }
}

TEST_F(FaultSweep, Scan) {
    sweep({"scan", choose(U("Алиса")), [&] { scan(); }});
}

TEST_F(FaultSweep, ImportFromABase) {
    sweep({"import", [] {}, [&] { importBase(cat.path(U("base/Data/Ария"))); }, true});
}

TEST_F(FaultSweep, PictureAttachFromABitmap) {
    sweep({"bitmap attach", choose(U("Кино"), kBlood),
           [&] { attachPicture(QStringLiteral("pick/cover.bmp")); }});
}

TEST_F(FaultSweep, Font) {
    sweep({"font", [] {},
           [&] {
               modal.chooseFont(QFont(QStringLiteral("DejaVu Sans"), 12));
               MainForm->N2Click();
           }});
}

TEST_F(FaultSweep, BackgroundColour) {
    sweep({"background", [] {},
           [&] {
               modal.chooseColor(QColor(10, 20, 30));
               MainForm->N4Click();
           }});
}

TEST_F(FaultSweep, WindowColour) {
    sweep({"window colour", [] {},
           [&] {
               modal.chooseColor(QColor(40, 50, 60));
               MainForm->N6Click();
           }});
}

TEST_F(FaultSweep, AppearanceReset) {
    sweep({"appearance reset",
           [&] { cat.write(QStringLiteral("Data/Settings.ini"), "[own]\r\nkeep=1\r\n"); },
           [] { MainForm->DefaultSpeedButtonClick(); }});
}

TEST_F(FaultSweep, StartUp) {
    // A leftover that cannot be removed stays for the next start to try again.
    sweep({"start-up",
           [&] { layOutInterruptedStart(cat); },
           [] { startAgain(); },
           false,
           {QStringLiteral("Data/Кино/Texts.lrx.Ab3xQz")}});
}

TEST_F(FaultSweep, NewFolderOfTheFolderPicker) {
    sweep({"new folder", [] {}, [&] { newFolder(); }});
}

// The first-run flag lives in the working directory for this sweep, so that its file is
// compared like the catalogue's.
TEST_F(FaultSweep, FirstRunFlag) {
    const QString settingsHome = FirstRunFlagPath().section(u'/', 0, -3);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       cat.path(QStringLiteral("home")));
    sweep({"first-run flag", [] { forgetFirstRun(); },
           [&] {
               modal.onDialog([](QDialog* help) { help->reject(); });
               MainForm->FormActivate();
           }});
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsHome);
}

// A real full disk: Data/ on a small tmpfs, and a text larger than the free space saved in the
// lyrics editor. The old file stays whole, the error shows, and the next save goes through.
TEST_F(FaultSweep, RealFullDiskKeepsTheOldTextAndTellsTheUser) {
    const QByteArray data = QFile::encodeName(cat.path(QStringLiteral("Data")));
    ASSERT_TRUE(QDir().mkpath(cat.path(QStringLiteral("Data"))));
    if (::mount("tmpfs", data.constData(), "tmpfs", 0, "size=256k") != 0) {
        const int error = errno;
        if (error == EPERM && ::geteuid() != 0 && !qEnvironmentVariableIsSet("CANTORIA_IN_NS")) {
            // A user who may not mount may in a user and mount namespace of their own.
            QProcess self;
            self.setProcessChannelMode(QProcess::ForwardedChannels);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("CANTORIA_IN_NS"), QStringLiteral("1"));
            self.setProcessEnvironment(env);
            self.start(QStringLiteral("unshare"),
                       {QStringLiteral("-rm"), QCoreApplication::applicationFilePath(),
                        QStringLiteral("--gtest_filter=FaultSweep.RealFullDisk*")});
            if (self.waitForFinished(300000) && self.exitStatus() == QProcess::NormalExit) {
                EXPECT_EQ(self.exitCode(), 0) << "the test in its own namespace failed";
                return;
            }
        }
        CANTORIA_SKIP_UNLESS_REQUIRED("mounting a tmpfs is not allowed here ("
                                      << std::strerror(error) << ")");
    }
    struct Unmount {
        QByteArray path;
        ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
    } unmount{data};
    layOut(cat, false);
    const QString texts = QStringLiteral("Data/Кино/Texts.lrx");
    const QByteArray old = cat.read(texts);
    start();
    MainForm->RedONSpeedButton->click();
    choose(U("Кино"), kStar, kSong)();
    QString big;
    for (int i = 0; i < 12000; ++i) big += U("Песен ещё ненаписанных сколько?\n");
    editMemo<TSongForm>(MainForm->SongEdSpeedButton, big, &TSongForm::Button1Save);
    EXPECT_EQ(messages(), QStringList{"Cantoria|OK|I/O error 28."});
    EXPECT_EQ(cat.read(texts), old);
    QStringList left = fileio::listDir(cat.path(U("Data/Кино")), int(fileio::Listing::Files));
    left.sort();
    EXPECT_EQ(left, (QStringList{"Albums.lrx", "Songs.lrx", "Texts.lrx"}));

    editMemo<TSongForm>(MainForm->SongEdSpeedButton, U("Скажи, кукушка.\n"),
                        &TSongForm::Button1Save);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(cat.read(texts).contains(W("Звезда ##-**~ Кукушка\r\nСкажи, кукушка.\r\n")));
}

// The export writes outside Data/; a failure on the way removes what it wrote. (The OpenLyrics
// files carry the time they were written, so no two runs write the same bytes.)
TEST_F(FaultSweep, ExportAsTextFiles) {
    sweep({"export as text files",
           [&] {
               choose(U("Кино"))();
               QDir().mkpath(cat.path("out"));
           },
           [&] {
               modal.onDialog([&](QDialog* dialog) {
                   ExportForm->FolderEdit->setText(cat.path("out"));
                   ExportForm->FormatComboBox->setCurrentIndex(0);
                   ExportForm->ExportButton->click();
                   closeIfOpen(dialog);
               });
               MainForm->ExportPerformerItem->trigger();
           },
           true});
}

// The replace question is answered with OK, as a box without a scripted answer is.
TEST_F(FaultSweep, ImportReplacingAPerformer) {
    sweep({"import-replace", [] {}, [&] { importBase(cat.path(U("base/Data/Алиса"))); }, true});
}

}  // namespace
