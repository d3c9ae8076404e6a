// A catalogue that others change too: another copy of the program, a sync tool, an editor.
// What the windows show follows the files; nothing is written over a change without a question.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <cstdio>

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
