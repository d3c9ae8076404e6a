// A catalogue that others change too: another copy of the program, a sync tool, an editor.
// What the windows show follows the files; nothing is written over a change without a question.
#include <poll.h>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <iostream>

#include "app/Forms.h"
#include "dialogs/SongForm.h"
#include "mainwindow/MainForm.h"
#include "tests/helpers/AppFixture.h"

namespace {

const char* const kTexts = "Data/Кино/Texts.lrx";

class OutsideChanges : public AppTest {
  protected:
    void SetUp() override {
        cat.addPerformer(W("Кино"), W("Звезда\r\n"), W("Звезда##-**~\r\nКукушка\r\nendalbum\r\n"),
                         W("Звезда ##-**~ Кукушка\r\nПесен ещё ненаписанных\r\nendsong\r\n"));
        start();
        choosePerformer(U("Кино"));
        chooseAlbum(U("Звезда"));
        chooseSong(U("Кукушка"));
    }
    // What another program does: a new file under a name of its own, renamed over the old one.
    void replaceOutside(const QString& path, const QByteArray& bytes) {
        cat.write(path + ".tmp", bytes);
        ASSERT_EQ(std::rename(QFile::encodeName(cat.path(path + ".tmp")).constData(),
                              QFile::encodeName(cat.path(path)).constData()),
                  0);
    }
};

TEST_F(OutsideChanges, TheWindowsShowWhatOthersWroteAndNothingForTheProgramsOwnSaves) {
    int readAgain = 0;
    QObject::connect(Session, &CatalogueSession::catalogueChanged,
                     [&](CatalogueChange what, const QByteArray&, const QByteArray&) {
                         readAgain += what == CatalogueChange::Reloaded;
                     });
    MainForm->RedONSpeedButton->click();
    modal.onDialog([](QDialog*) {
        SongForm->Memo1->setPlainText(U("Своя строка"));
        SongForm->Button1SaveClick();
    });
    MainForm->SongEdSpeedButton->click();
    QTest::qWait(700);
    EXPECT_EQ(readAgain, 0);
    EXPECT_EQ(messages(), QStringList());

    cat.write(U(kTexts), W("Звезда ##-**~ Кукушка\r\nЧужая строка\r\nendsong\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(MainForm->Song->toPlainText(), U("Чужая строка"), 2000);
    replaceOutside(U("Data/Кино/Songs.lrx"), W("Звезда##-**~\r\nКукушка\r\nЛето\r\nendalbum\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(ItemTexts(MainForm->SongsListBox),
                              (QStringList{U("Кукушка"), U("Лето")}), 2000);
    EXPECT_EQ(MainForm->SongsListBox->currentItem()->text(), U("Кукушка"));
    ASSERT_TRUE(QDir(cat.path(U("Data/Кино"))).removeRecursively());
    QTRY_COMPARE_WITH_TIMEOUT(MainForm->AlbumsComboBox->count(), 0, 2000);
    EXPECT_EQ(MainForm->SongsListBox->count(), 0);
    EXPECT_EQ(MainForm->Song->toPlainText(), QString());
    EXPECT_EQ(messages(), QStringList());
}

TEST_F(OutsideChanges, ASaveOverAFileChangedOutsideAsksAndNoKeepsTheirsAndTheEditor) {
    MainForm->RedONSpeedButton->click();
    const QByteArray theirs = W("Звезда ##-**~ Кукушка\r\nИх строка\r\nendsong\r\n");
    modal.onDialog([&](QDialog*) {
        cat.write(U(kTexts), theirs);  // while the editor is open
        SongForm->Memo1->setPlainText(U("Моя строка"));
        modal.answer(No);
        SongForm->Button1SaveClick();
        EXPECT_EQ(cat.read(U(kTexts)), theirs);
        EXPECT_EQ(SongForm->Memo1->toPlainText(), U("Моя строка"));
        EXPECT_TRUE(SongForm->isVisible());
        cat.write(U(kTexts), theirs + "\r\n");  // and again, while the user looks
        modal.answer(Yes);
        SongForm->Button1SaveClick();
    });
    MainForm->SongEdSpeedButton->click();
    const QString question =
        U("Confirm|&Yes,&No|Файл «Кино/Texts.lrx» изменён другой программой после того, как был "
          "прочитан. Записать поверх него?");
    EXPECT_EQ(messages(), (QStringList{question, question}));
    EXPECT_EQ(cat.read(U(kTexts)), W("\r\nЗвезда ##-**~ Кукушка\r\nМоя строка\r\nendsong\r\n"));
}

TEST_F(OutsideChanges, ASyncConflictCopyIsNamedOnceAndNeverRead) {
    const QString copy = U("Data/Кино/Texts.sync-conflict-20261210-101010-ABCDEFG.lrx");
    cat.write(copy, W("Звезда ##-**~ Кукушка\r\nИз копии\r\nendsong\r\n"));
    choosePerformer(U("Кино"));
    chooseAlbum(U("Звезда"));
    chooseSong(U("Кукушка"));
    choosePerformer(U("Кино"));
    EXPECT_EQ(messages(),
              QStringList{U("Information|OK|Найдена конфликтная копия синхронизации: "
                            "«Кино/Texts.sync-conflict-20261210-101010-ABCDEFG.lrx». Программа её "
                            "не читает; перенесите нужные строки вручную и удалите её.")});
    chooseAlbum(U("Звезда"));
    chooseSong(U("Кукушка"));
    EXPECT_EQ(MainForm->Song->toPlainText(), U("Песен ещё ненаписанных"));
}

}  // namespace

// Two copies of the program on one catalogue, each a process of its own with its own watch:
// the test drives them in turns through their standard input, as a user would switch windows.
namespace {

const char kSharedCatalogue[] = "CANTORIA_SHARED_CATALOGUE";

class OneCopy : public AppTest {
  protected:
    // One command per line; the answer is one line starting with "reply:".
    static QString nextCommand() {
        pollfd input{0, POLLIN, 0};
        while (::poll(&input, 1, 0) == 0) QTest::qWait(20);
        std::string line;
        if (!std::getline(std::cin, line)) return "quit";  // the test is gone
        return QString::fromStdString(line);
    }
    static void reply(const QString& text) {
        std::cout << "reply:" << text.toStdString() << std::endl;
    }
    // "await T": the text pane shows T within 2 s (an open editor stays open); "open": the
    // song editor, which then takes "save yes|no T" (T typed, the answer to any question)
    // until it closes; "quit".
    static bool awaited(const QString& command) {
        if (!command.startsWith("await ")) return false;
        const QString text = command.mid(6);
        (void)QTest::qWaitFor([&] { return MainForm->Song->toPlainText() == text; }, 2000);
        reply(MainForm->Song->toPlainText());
        return true;
    }
    void serve() {
        for (QString command = nextCommand(); command != "quit"; command = nextCommand()) {
            if (awaited(command) || command != "open") continue;
            if (!MainForm->RedOFFSpeedButton->isVisible()) MainForm->RedONSpeedButton->click();
            modal.onDialog([this](QDialog*) { editUntilClosed(); });
            MainForm->SongEdSpeedButton->click();
        }
    }
    void editUntilClosed() {
        reply("opened");
        while (SongForm->isVisible()) {
            const QString command = nextCommand();
            if (command == "quit") {
                SongForm->close();
                return;
            }
            if (awaited(command)) continue;
            modal.answer(command.startsWith("save yes ") ? Yes : No);
            SongForm->Memo1->setPlainText(command.section(' ', 2));
            SongForm->Button1SaveClick();
            modal.dropPendingAnswers();  // no question asked
            reply(messages().join(" / "));
        }
    }
};

TEST_F(OneCopy, DISABLED_OfTwoOnOneCatalogue) {
    start(true, qEnvironmentVariable(kSharedCatalogue));
    choosePerformer(U("Кино"));
    chooseAlbum(U("Звезда"));
    chooseSong(U("Кукушка"));
    serve();
}

class TwoCopies : public OutsideChanges {
  protected:
    void SetUp() override {
        OutsideChanges::SetUp();
        for (QProcess* copy : {&first, &second}) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(kSharedCatalogue, cat.startDir());
            copy->setProcessEnvironment(env);
            copy->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            copy->start(QCoreApplication::applicationFilePath(),
                        {"--gtest_also_run_disabled_tests",
                         "--gtest_filter=OneCopy.DISABLED_OfTwoOnOneCatalogue"});
        }
    }
    void TearDown() override {
        for (QProcess* copy : {&first, &second}) {
            copy->write("quit\n");
            EXPECT_TRUE(copy->waitForFinished(30000));
            EXPECT_EQ(copy->exitCode(), 0) << copy->readAllStandardOutput().toStdString();
        }
    }
    static QString ask(QProcess& copy, const QString& command) {
        copy.write((command + "\n").toUtf8());
        for (;;) {
            while (!copy.canReadLine())
                if (!copy.waitForReadyRead(30000)) return "no reply";
            const QByteArray line = copy.readLine().trimmed();
            if (line.startsWith("reply:")) return QString::fromUtf8(line.mid(6));
        }
    }
    QProcess first, second;
};

TEST_F(TwoCopies, EachShowsTheOthersSavesAndAsksBeforeWritingOverThem) {
    EXPECT_EQ(ask(first, U("await Песен ещё ненаписанных")), U("Песен ещё ненаписанных"));
    EXPECT_EQ(ask(second, U("await Песен ещё ненаписанных")), U("Песен ещё ненаписанных"));
    EXPECT_EQ(ask(first, "open"), "opened");
    EXPECT_EQ(ask(first, U("save yes Первая")), "");
    EXPECT_EQ(ask(second, U("await Первая")), U("Первая"));
    EXPECT_EQ(ask(second, "open"), "opened");
    EXPECT_EQ(ask(second, U("save yes Вторая")), "");
    EXPECT_EQ(ask(first, U("await Вторая")), U("Вторая"));

    EXPECT_EQ(ask(first, "open"), "opened");
    EXPECT_EQ(ask(second, "open"), "opened");
    EXPECT_EQ(ask(second, U("save yes Третья")), "");
    EXPECT_EQ(ask(first, U("await Третья")), U("Третья"));  // shown behind the open editor
    const QString question =
        U("Confirm|&Yes,&No|Файл «Кино/Texts.lrx» изменён другой программой после того, как был "
          "прочитан. Записать поверх него?");
    EXPECT_EQ(ask(first, U("save no Четвёртая")), question);
    EXPECT_EQ(cat.read(U(kTexts)), W("Звезда ##-**~ Кукушка\r\nТретья\r\nendsong\r\n"));
    EXPECT_EQ(ask(first, U("save yes Четвёртая")), question);
    EXPECT_EQ(ask(second, U("await Четвёртая")), U("Четвёртая"));
}

}  // namespace
