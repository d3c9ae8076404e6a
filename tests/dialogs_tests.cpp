// The editing dialogs and performer deletion, driven from the main window's buttons.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <cerrno>

#include "app/Forms.h"
#include "dialogs/AddPerfSelectForm.h"
#include "dialogs/AlbumsForm.h"
#include "dialogs/AvtorForm.h"
#include "dialogs/SongForm.h"
#include "dialogs/SongsForm.h"
#include "mainwindow/ImageForm.h"
#include "mainwindow/MainForm.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "support/MemoLines.h"
#include "support/StorableText.h"
#include "tests/helpers/AppFixture.h"

namespace {

const QString kList = QStringLiteral("Data/performers.lrx");

class DialogsTest : public AppTest {
  protected:
    // Creates the windows over the catalogue laid out so far and enters edit mode.
    void StartProgram() {
        start();
        MainForm->RedONSpeedButton->click();
    }
};

// Opens the choice dialog from the main window and goes on to the manual entry, where
// `enter` runs.
void AddByHand(ScriptedModal& modal, std::function<void(TAvtorForm*)> enter) {
    modal.onDialog([](QDialog* d) {
        auto* select = static_cast<TAddPerfSelectForm*>(d);
        EXPECT_TRUE(select->RadioButton1->isChecked());
        select->RadioButton2->click();
        select->Button1->click();
        EXPECT_FALSE(select->isVisible());
    });
    modal.onDialog([enter](QDialog* d) { enter(static_cast<TAvtorForm*>(d)); });
    MainForm->PlusPerfSpeedButton->click();
}

}  // namespace

TEST_F(DialogsTest, NewPerformerTrailingBlanksDuplicatesAndBadNames) {
    cat.addPerformer("Abc");
    StartProgram();
    choosePerformer("Abc");
    const auto before = cat.snapshot();
    AddByHand(modal, [&](TAvtorForm* f) {
        EXPECT_EQ(f->windowTitle(), U("Добавление исполнителя"));
        EXPECT_EQ(f->VvodAvtEdit->toolTip(), U("Нельзя использовать символы: \\/:*?\"<>"));
        QTest::keyClicks(f->VvodAvtEdit, "Abc   ");
        f->SaveAvtButton->click();
        EXPECT_EQ(f->VvodAvtEdit->text(), QString());  // a duplicate empties the box
        QTest::keyClicks(f->VvodAvtEdit, "   ");
        f->SaveAvtButton->click();
        EXPECT_EQ(f->VvodAvtEdit->text(), "   ");  // an empty name keeps what was typed
        for (const char* pasted : {"a/b", "a|b", "..", "."}) {
            f->VvodAvtEdit->setText(pasted);
            f->SaveAvtButton->click();
        }
        f->VvodAvtEdit->setText(U("Снег ☃"));
        f->SaveAvtButton->click();
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(cat.snapshot(), before);
        f->VvodAvtEdit->clear();
        QTest::keyClicks(f->VvodAvtEdit, "a:b*c  ");  // typed path characters never arrive
        EXPECT_EQ(f->VvodAvtEdit->text(), "abc  ");
        f->SaveAvtButton->click();
        EXPECT_FALSE(f->isVisible());
        EXPECT_EQ(f->VvodAvtEdit->text(), QString());
    });
    const QString badName =
        U("Information|OK|Имя исполнителя не может содержать символы \\ / : * ? \" < > | и не "
          "может быть \".\" или \"..\".");
    EXPECT_EQ(messages(),
              (QStringList{U("Information|OK|Такой исполнитель уже существует."),
                           U("Information|OK|Введите имя."), badName, badName, badName, badName,
                           U("Information|OK|Нельзя сохранить символы: ☃ (U+2603).")}));
    EXPECT_EQ(cat.read(kList), QByteArray("Abc\r\nabc\r\n"));  // letter case makes it new
    for (const char* file : {"Albums.lrx", "Songs.lrx", "Texts.lrx"})
        EXPECT_EQ(cat.read(QStringLiteral("Data/abc/") + file), QByteArray()) << file;
    EXPECT_TRUE(fileio::listDir(cat.path("Data/abc/Image"), 7).isEmpty());
    EXPECT_EQ(ItemTexts(MainForm->PerfComboBox), (QStringList{"Abc", "abc"}));
    EXPECT_EQ(MainForm->PerfComboBox->currentText(), "Abc");  // the selection stays
    EXPECT_EQ(modal.execed, (std::vector<QString>{"TAddPerfSelectForm", "TAvtorForm"}));
}

TEST_F(DialogsTest, NewPerformerOverALeftoverFolderAndTheOtherWays) {
    cat.write(kList, "");
    cat.write(QStringLiteral("Data/") + U("Кино") + "/Albums.lrx", W("Группа крови\r\n"));
    StartProgram();
    AddByHand(modal, [](TAvtorForm* f) {
        f->VvodAvtEdit->setText(U("Кино"));
        f->SaveAvtButton->click();
        EXPECT_FALSE(f->isVisible());
        EXPECT_EQ(f->VvodAvtEdit->text(), QString());
    });
    EXPECT_EQ(messages(),
              QStringList{U("Warning|OK|    Возникли ошибки при создании каталогов и файлов "
                            "исполнителя. Возможно весь каталог или некоторые файлы уже "
                            "сучествуют. Попробуйте просматривать альбомы и песни этого "
                            "исполнителя, если ничего не работает или работает неправильно, "
                            "удалите исполнителя кнопкой \"Удаление исполнителя\" и попробуйте "
                            "создать его заново.")});
    EXPECT_EQ(cat.read(kList), W("Кино\r\n"));
    EXPECT_EQ(cat.read(QStringLiteral("Data/") + U("Кино") + "/Albums.lrx"), W("Группа крови\r\n"));
    EXPECT_EQ(ItemTexts(MainForm->PerfComboBox), QStringList{U("Кино")});

    // Cancel writes nothing; the first choice opens the import from a base.
    const auto before = cat.snapshot();
    AddByHand(modal, [](TAvtorForm* f) {
        f->VvodAvtEdit->setText("x");
        f->CancelButton->click();
        EXPECT_EQ(f->VvodAvtEdit->text(), QString());
    });
    modal.onDialog([](QDialog* d) { static_cast<TAddPerfSelectForm*>(d)->Button1->click(); });
    modal.onDialog([](QDialog*) {});
    MainForm->PlusPerfSpeedButton->click();
    modal.onDialog([](QDialog* d) { static_cast<TAddPerfSelectForm*>(d)->Button2->click(); });
    MainForm->PlusPerfSpeedButton->click();
    EXPECT_EQ(modal.execed.back(), "TAddPerfSelectForm");
    EXPECT_EQ(modal.execed[modal.execed.size() - 2], "TAddPerfBaseForm");
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_TRUE(modal.shown().empty());
}

TEST_F(DialogsTest, NewPerformerThatCannotBeMadeIsNeitherListedNorOffered) {
    cat.addPerformer("Abc");
    StartProgram();
    const auto before = cat.snapshot();
    fileio::makeReadOnly(cat.path("Data"));
    AddByHand(modal, [](TAvtorForm* f) {
        f->VvodAvtEdit->setText(U("Кино"));
        f->SaveAvtButton->click();
        EXPECT_FALSE(f->isVisible());
    });
    fileio::clearFaults();
    const QStringList shown = messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().startsWith(U("Warning|OK|    Возникли ошибки при создании")));
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_EQ(ItemTexts(MainForm->PerfComboBox), QStringList{"Abc"});
}

TEST_F(DialogsTest, AlbumListEditorGivesNewAlbumsTheirOwnBlocks) {
    cat.addPerformer("P", "Old\r\n", "Old##-**~\r\nLove me\r\nendalbum\r\n", "t\r\n");
    StartProgram();
    choosePerformer("P");
    modal.onDialog([&](QDialog* d) {
        auto* f = static_cast<TAlbumsForm*>(d);
        EXPECT_EQ(MemoLines(f->Memo1), QStringList{"Old"});
        f->Memo1->setPlainText(U("Old\n\nAB\nA\n \nLove\nАльбом ☃"));
        f->SaveButton->click();  // refused: nothing written, the editor keeps its text
        EXPECT_TRUE(f->isVisible());
        f->Memo1->setPlainText(U("Old\n\nAB\nA\n \nLove\nАльбом\n"));
        f->SaveButton->click();
        EXPECT_FALSE(f->isVisible());
    });
    MainForm->EditAlbListSpeedButton->click();
    EXPECT_EQ(messages(), QStringList{U("Information|OK|Нельзя сохранить символы: ☃ (U+2603).")});
    EXPECT_EQ(cat.read("Data/P/Albums.lrx"), W("Old\r\nAB\r\nA\r\n \r\nLove\r\nАльбом\r\n"));
    EXPECT_EQ(
        cat.read("Data/P/Songs.lrx"),
        W("Old##-**~\r\nLove me\r\nendalbum\r\nAB##-**~\r\nendalbum\r\nA##-**~\r\nendalbum"
          "\r\n ##-**~\r\nendalbum\r\nLove##-**~\r\nendalbum\r\nАльбом##-**~\r\nendalbum\r\n"));
    EXPECT_EQ(cat.read("Data/P/Texts.lrx"), QByteArray("t\r\n"));
    EXPECT_EQ(ItemTexts(MainForm->AlbumsComboBox),
              (QStringList{"Old", "AB", "A", " ", "Love", U("Альбом")}));
    EXPECT_EQ(MainForm->AlbumsComboBox->currentIndex(), -1);
    EXPECT_EQ(MainForm->SongsListBox->count(), 0);
    EXPECT_EQ(AlbumsForm->Memo1->toPlainText(), QString());
}

TEST_F(DialogsTest, AlbumListEditorKeepsEverythingWhenTheSaveFails) {
    cat.addPerformer("P", "Old\r\n", "");
    StartProgram();
    choosePerformer("P");
    const auto before = cat.snapshot();
    modal.onDialog([](QDialog* d) {
        auto* f = static_cast<TAlbumsForm*>(d);
        f->Memo1->setPlainText("Old\nNew\n");
        fileio::failAt(1, ENOSPC, fileio::FaultMode::FromThenOn);
        f->SaveButton->click();
        fileio::clearFaults();
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(MemoLines(f->Memo1), (QStringList{"Old", "New"}));
        f->reject();  // the close box
        EXPECT_EQ(f->Memo1->toPlainText(), QString());
    });
    MainForm->EditAlbListSpeedButton->click();
    EXPECT_EQ(messages(), QStringList{"Cantoria|OK|I/O error 28."});
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_EQ(ItemTexts(MainForm->AlbumsComboBox), QStringList{"Old"});
}

TEST_F(DialogsTest, SongListEditorMovesTheBlockAndRefusesEndLines) {
    const QByteArray songs =
        "X##-**~\r\nx\r\nendalbum\r\nY##-**~\r\ny1\r\nendalbum\r\nY##-**~\r\ny2\r\nendalbum\r\n"
        "stray\r\nZ##-**~\r\nz\r\nendalbum\r\n";
    cat.addPerformer("P", "X\r\nY\r\nZ\r\n", songs, "Y ##-**~ y1\r\nla\r\nendsong\r\n");
    StartProgram();
    choosePerformer("P");
    chooseAlbum("Y");
    modal.onDialog([&](QDialog* d) {
        auto* f = static_cast<TSongsForm*>(d);
        EXPECT_EQ(MemoLines(f->Memo1), (QStringList{"y1", "y2"}));
        f->Memo1->setPlainText("a\nendalbum\nb");
        f->Button1->click();
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(cat.read("Data/P/Songs.lrx"), songs);
        f->Memo1->setPlainText("a\n\n  b\n\n");  // an empty line inside and one at the end
        fileio::failAt(1, EIO, fileio::FaultMode::FromThenOn);
        f->Button1->click();
        fileio::clearFaults();
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(cat.read("Data/P/Songs.lrx"), songs);
        f->Button1->click();
        EXPECT_FALSE(f->isVisible());
    });
    MainForm->EditSongsListSpeedButton->click();
    EXPECT_EQ(messages(), (QStringList{U("Information|OK|Песня не может называться \"endalbum\"."),
                                       "Cantoria|OK|I/O error 5."}));
    // The second Y block, directly after the first, stays where it was.
    EXPECT_EQ(
        cat.read("Data/P/Songs.lrx"),
        QByteArray("X##-**~\r\nx\r\nendalbum\r\nY##-**~\r\ny2\r\nendalbum\r\nstray\r\n"
                   "Z##-**~\r\nz\r\nendalbum\r\nY##-**~\r\na\r\n\r\n  b\r\n\r\nendalbum\r\n"));
    EXPECT_EQ(cat.read("Data/P/Texts.lrx"), QByteArray("Y ##-**~ y1\r\nla\r\nendsong\r\n"));
    EXPECT_EQ(ItemTexts(MainForm->SongsListBox), (QStringList{"a", "", "  b", ""}));
    EXPECT_EQ(MainForm->SongsListBox->currentRow(), -1);
    EXPECT_EQ(SongsForm->Memo1->toPlainText(), QString());
}

TEST_F(DialogsTest, SongTextEditorMovesTheTextBlock) {
    const QByteArray texts =
        "A ##-**~ S\r\nold\r\nendsong\r\nA ##-**~ T\r\nt\r\nendsong\r\nB ##-**~ "
        "S\r\nb\r\nendsong\r\n";
    cat.addPerformer("P", "A\r\n", "A##-**~\r\nS\r\nT\r\nendalbum\r\n", texts);
    StartProgram();
    choosePerformer("P");
    chooseAlbum("A");
    chooseSong("S");
    modal.onDialog([&](QDialog* d) {
        auto* f = static_cast<TSongForm*>(d);
        EXPECT_EQ(f->windowTitle(), U("Редактор текста песен   -   S"));
        EXPECT_EQ(MemoLines(f->Memo1), QStringList{"old"});
        f->Memo1->setPlainText(U("Куплет\n\nendsong"));
        f->Button1Save->click();
        f->Memo1->setPlainText(U("Куплет\u00a0один\n\n endsong"));
        fileio::failAt(1, EACCES, fileio::FaultMode::FromThenOn);
        f->Button1Save->click();
        fileio::clearFaults();
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(cat.read("Data/P/Texts.lrx"), texts);
        f->Button1Save->click();
        EXPECT_FALSE(f->isVisible());
    });
    MainForm->SongEdSpeedButton->click();
    EXPECT_EQ(messages(),
              (QStringList{U("Information|OK|Текст песни не может содержать строку \"endsong\"."),
                           "Cantoria|OK|File access denied."}));
    EXPECT_EQ(cat.read("Data/P/Texts.lrx"),
              QByteArray("A ##-**~ T\r\nt\r\nendsong\r\nB ##-**~ S\r\nb\r\nendsong\r\n") +
                  "A ##-**~ S\r\n" + W("Куплет\u00a0один") + "\r\n\r\n endsong\r\nendsong\r\n");
    EXPECT_EQ(MainForm->Song->toPlainText(), U("Куплет один\n\n endsong"));
    EXPECT_EQ(SongForm->Memo1->toPlainText(), QString());

    // An empty editor saves a block of its two lines; cancel writes nothing.
    modal.onDialog([](QDialog* d) {
        auto* f = static_cast<TSongForm*>(d);
        f->Memo1->clear();
        f->Button1Save->click();
    });
    MainForm->SongEdSpeedButton->click();
    EXPECT_TRUE(cat.read("Data/P/Texts.lrx").endsWith("endsong\r\nA ##-**~ S\r\nendsong\r\n"));
    const auto before = cat.snapshot();
    modal.onDialog([](QDialog* d) { static_cast<TSongForm*>(d)->Button2Can->click(); });
    MainForm->SongEdSpeedButton->click();
    EXPECT_EQ(cat.snapshot(), before);
}

TEST_F(DialogsTest, DeletingFirstMiddleAndOnlyPerformer) {
    for (const char* name : {"A", "B", "C"}) cat.addPerformer(name, "x\r\n", "y\r\n", "z\r\n");
    cat.write("Data/B/Image/x.jpg", "jpeg");
    cat.write("Data/B/notes.txt", "n");
    StartProgram();

    choosePerformer("B");
    modal.answer(No);
    MainForm->DelAvtSpeedButton->click();
    EXPECT_EQ(cat.read(kList), QByteArray("A\r\nB\r\nC\r\n"));
    modal.answer(Yes);
    MainForm->DelAvtSpeedButton->click();
    const QString question =
        U("Confirm|&Yes,&No|Вы уверены что хотите удалить исполнителя?\rВостановление будет "
          "невозможно!");
    EXPECT_EQ(messages(), (QStringList{question, question}));
    EXPECT_EQ(cat.read(kList), QByteArray("A\r\nC\r\n"));
    EXPECT_FALSE(cat.exists("Data/B"));
    EXPECT_EQ(ItemTexts(MainForm->PerfComboBox), (QStringList{"A", "C"}));
    EXPECT_EQ(MainForm->PerfComboBox->currentIndex(), -1);
    EXPECT_EQ(MainForm->AlbumsComboBox->count(), 0);
    EXPECT_EQ(ImageForm->windowTitle(), U("Картинка:"));

    MainForm->DelAvtSpeedButton->click();  // nothing selected
    EXPECT_EQ(messages(), QStringList{U("Information|OK|Выберите исполнителя.")});

    choosePerformer("A");
    MainForm->DelAvtSpeedButton->click();
    EXPECT_EQ(cat.read(kList), QByteArray("C\r\n"));
    choosePerformer("C");
    MainForm->DelAvtSpeedButton->click();
    EXPECT_EQ(cat.read(kList), QByteArray());
    EXPECT_EQ(MainForm->PerfComboBox->count(), 0);
    EXPECT_TRUE(fileio::listDir(cat.path("Data"), 7) == QStringList{"performers.lrx"});
    EXPECT_EQ(messages(), (QStringList{question, question}));
}

TEST_F(DialogsTest, DeletingLeavesWhatIsNotItsOwn) {
    cat.addPerformer("NoPics", "x\r\n");
    QDir(cat.path("Data/NoPics/Image")).removeRecursively();
    cat.addPerformer("Sub");
    cat.write("Data/Sub/Lyrics/keep.txt", "keep");
    cat.addPerformer("Rest");
    StartProgram();
    const QString problem =
        U("Error|OK|При удалении возникли проблемы, возможно, не все файлы были удалены.\r Вы "
          "можете удалить их вручную.");

    choosePerformer("NoPics");
    MainForm->DelAvtSpeedButton->click();
    EXPECT_EQ(messages().last(), problem);
    EXPECT_EQ(cat.read(kList), QByteArray("Sub\r\nRest\r\n"));
    EXPECT_EQ(cat.read("Data/NoPics/Albums.lrx"), QByteArray("x\r\n"));

    choosePerformer("Sub");
    MainForm->DelAvtSpeedButton->click();
    EXPECT_EQ(messages().last(), problem);
    EXPECT_EQ(cat.read("Data/Sub/Lyrics/keep.txt"), QByteArray("keep"));
    EXPECT_FALSE(cat.exists("Data/Sub/Albums.lrx"));

    // A list that cannot be rewritten: nothing changes, on disk or on screen.
    choosePerformer("Rest");
    const auto before = cat.snapshot();
    fileio::failAt(1, ENOSPC, fileio::FaultMode::FromThenOn);
    MainForm->DelAvtSpeedButton->click();
    fileio::clearFaults();
    EXPECT_EQ(messages().last(), "Cantoria|OK|I/O error 28.");
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_EQ(MainForm->PerfComboBox->currentText(), "Rest");
}

TEST(MemoLines, EveryLineReadsBackAsItWasPutIn) {
    QPlainTextEdit memo;
    for (const QStringList& lines :
         {QStringList{}, QStringList{""}, QStringList{"a", ""}, QStringList{"", "b", "", ""},
          QStringList{U("Куплет\u00a0один"), " x "}}) {
        SetMemoLines(&memo, lines);
        EXPECT_EQ(MemoLines(&memo), lines) << memo.toPlainText().toStdString();
    }
    memo.setPlainText("typed\nwithout end");  // what the user types needs no last line end
    EXPECT_EQ(MemoLines(&memo), (QStringList{"typed", "without end"}));
}
