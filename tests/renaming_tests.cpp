// The three rename boxes, driven from the main window's hover-panel buttons as a user would,
// with the files checked byte for byte.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <cerrno>

#include "app/Forms.h"
#include "dialogs/AlbNameEditForm.h"
#include "dialogs/PerfNameEditForm.h"
#include "dialogs/SongForm.h"
#include "dialogs/SongNameEditForm.h"
#include "mainwindow/ImageForm.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/PictureView.h"
#include "store/FileIo.h"
#include "support/MemoLines.h"
#include "tests/helpers/AppFixture.h"

namespace {

const QByteArray kPerf = W("Кино");
const QString kFolder = U("Data/Кино/");

QString information(const QString& text) {
    return QStringLiteral("Information|OK|") + text;
}

const QString kNotCarried = QStringLiteral(
    "Error|OK|При переименовании возникли проблемы, возможно, не все старые файлы были "
    "удалены.\r Вы можете удалить их вручную.");

class RenameWindows : public AppTest {
  protected:
    // Starts the program on the laid-out catalogue, in edit mode.
    void start() {
        AppTest::start();
        MainForm->RedONSpeedButton->click();
    }

    // Opens a rename box from its hover panel; `script` works in the open box.
    template <typename FormT>
    void openFrom(void (TMainForm::*hover)(), QToolButton* button,
                  std::function<void(FormT*)> script) {
        (MainForm->*hover)();
        modal.onDialog([script](QDialog* dialog) { script(static_cast<FormT*>(dialog)); });
        button->click();
    }
    void renameAlbum(std::function<void(TAlbNameEditForm*)> script) {
        openFrom<TAlbNameEditForm>(&TMainForm::EdAlbumSpeedButtonMouseMove,
                                   MainForm->EditAlbNameSpeedButton, std::move(script));
    }
    void renamePerformer(std::function<void(TPerfNameEditForm*)> script) {
        openFrom<TPerfNameEditForm>(&TMainForm::PerformersSpeedButtonMouseMove,
                                    MainForm->EditPerfNameSpeedButton, std::move(script));
    }
    void renameSong(std::function<void(TSongNameEditForm*)> script) {
        openFrom<TSongNameEditForm>(&TMainForm::SongsSpeedButtonMouseMove,
                                    MainForm->EditSongNameSpeedButton, std::move(script));
    }

    // Sets the box's text (pasting, as the typing filter does not see it) and saves.
    static void save(RenameForm* form, const QString& text) {
        form->Edit1->setText(text);
        form->SaveButton->click();
    }
};

// Album A next to album AB, listed twice, with a picture; AB has one too.
void layAlbums(const TempCatalogue& cat) {
    cat.addPerformer(kPerf, "A\r\nAB\r\nA\r\n",
                     "A##-**~\r\none\r\nendalbum\r\nAB##-**~\r\none\r\nendalbum\r\n",
                     "A ##-**~ one\r\ntext of A\r\nendsong\r\n"
                     "AB ##-**~ one\r\ntext of AB\r\nendsong\r\n");
    cat.write(kFolder + "Image/A.jpg", SmallJpeg(8, 6));
    cat.write(kFolder + "Image/AB.jpg", "AB picture");
}

}  // namespace

TEST_F(RenameWindows, AlbumRefusesBadNamesThenRenamesEverywhere) {
    layAlbums(cat);
    start();
    choosePerformer(U("Кино"));
    chooseAlbum("A");
    chooseSong("one");
    ASSERT_FALSE(MainForm->Image->isHidden());  // the main window itself is not shown
    const auto before = cat.snapshot();
    renameAlbum([&](TAlbNameEditForm* box) {
        EXPECT_EQ(box->windowTitle(), U("Изменение имени альбома"));
        EXPECT_EQ(box->Label1->text(), U("Введите новое имя альбома:"));
        EXPECT_EQ(box->Edit1->text(), "A");  // the old name, taken on activation
        box->Edit1->clear();
        QTest::keyClicks(box->Edit1, "C/:?|");
        EXPECT_EQ(box->Edit1->text(), "C");  // the typing filter

        save(box, "AB");
        save(box, "A");
        save(box, "");
        save(box, "x/y");
        save(box, "..");
        save(box, U("Ноты♪"));
        save(box, "a\nb");
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(cat.snapshot(), before);
        save(box, "C");
        EXPECT_FALSE(box->isVisible());
    });
    EXPECT_EQ(
        messages(),
        (QStringList{
            information(U("Такой альбом уже существует.\rВведите другое имя.")),
            information(U("Такой альбом уже существует.\rВведите другое имя.")),
            information(U("Имя альбома не может быть пустым.")),
            information(U("Имя не может содержать символы \\ / : * ? \" < > |")),
            information(U("Имя не может быть «.» или «..».")),
            information(U("Имя содержит символы, которые нельзя сохранить: ♪ (U+266A).")),
            information(U("Имя не может содержать переводы строки и другие управляющие символы.")),
        }));
    EXPECT_EQ(cat.read(kFolder + "Albums.lrx"), "C\r\nAB\r\nC\r\n");
    EXPECT_EQ(cat.read(kFolder + "Songs.lrx"),
              "C##-**~\r\none\r\nendalbum\r\nAB##-**~\r\none\r\nendalbum\r\n");
    EXPECT_EQ(cat.read(kFolder + "Texts.lrx"),
              "C ##-**~ one\r\ntext of A\r\nendsong\r\n"
              "AB ##-**~ one\r\ntext of AB\r\nendsong\r\n");
    EXPECT_EQ(cat.read(kFolder + "Image/C.jpg"), before.value(kFolder + "Image/A.jpg"));
    EXPECT_FALSE(cat.exists(kFolder + "Image/A.jpg"));
    EXPECT_EQ(cat.read(kFolder + "Image/AB.jpg"), "AB picture");

    EXPECT_EQ(MainForm->AlbumNames(), (Lines{"C", "AB", "C"}));
    EXPECT_FALSE(MainForm->HasSelectedAlbum());
    EXPECT_EQ(MainForm->SongNames(), Lines{});
    EXPECT_EQ(MainForm->Song->toPlainText(), "");
    EXPECT_TRUE(MainForm->Image->isHidden());
    EXPECT_TRUE(ImageForm->Image1->isHidden());
    EXPECT_EQ(ImageForm->windowTitle(), U("Картинка:"));
}

TEST_F(RenameWindows, AlbumByLetterCaseOnlyAndWithoutPicture) {
    layAlbums(cat);
    cat.write(kFolder + "Image/b.jpg", "stale picture of no album");
    start();
    choosePerformer(U("Кино"));
    chooseAlbum("A");
    renameAlbum([](TAlbNameEditForm* box) { save(box, "a"); });
    chooseAlbum("AB");
    modal.takeShown();  // AB's picture is no JPEG: the general error report
    renameAlbum([](TAlbNameEditForm* box) { save(box, "ab"); });
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(cat.read(kFolder + "Albums.lrx"), "a\r\nab\r\na\r\n");
    EXPECT_EQ(cat.read(kFolder + "Songs.lrx"),
              "a##-**~\r\none\r\nendalbum\r\nab##-**~\r\none\r\nendalbum\r\n");
    EXPECT_EQ(cat.read(kFolder + "Image/a.jpg"), SmallJpeg(8, 6));
    EXPECT_EQ(cat.read(kFolder + "Image/ab.jpg"), "AB picture");

    // Album B has no picture, and an old file of its new name is there: that file is not
    // replaced, B is renamed all the same, and nothing is said.
    cat.write(kFolder + "Albums.lrx", "B\r\n");
    choosePerformer(U("Кино"));
    chooseAlbum("B");
    ASSERT_TRUE(MainForm->Image->isHidden());
    const QString caption = ImageForm->windowTitle();
    renameAlbum([](TAlbNameEditForm* box) { save(box, "b"); });
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(cat.read(kFolder + "Albums.lrx"), "b\r\n");
    EXPECT_EQ(cat.read(kFolder + "Image/b.jpg"), "stale picture of no album");
    EXPECT_EQ(ImageForm->windowTitle(), caption);  // the picture display is left alone
}

TEST_F(RenameWindows, AlbumFailureGivesTheErrorReportAndKeepsTheBoxOpen) {
    layAlbums(cat);
    start();
    choosePerformer(U("Кино"));
    chooseAlbum("AB");
    modal.takeShown();
    const QByteArray songs = cat.read(kFolder + "Songs.lrx");
    renameAlbum([&](TAlbNameEditForm* box) {
        // the song list's write fails, and the album list gets its old bytes back
        fileio::failOn({fileio::Op::Write, "Songs.lrx", ENOSPC});
        save(box, "X");
        fileio::clearFaults();
        EXPECT_TRUE(box->isVisible());
        box->CancelButton->click();
    });
    EXPECT_EQ(messages(), QStringList{"Cantoria|OK|I/O error 28."});
    EXPECT_EQ(cat.read(kFolder + "Albums.lrx"), "A\r\nAB\r\nA\r\n");
    EXPECT_EQ(cat.read(kFolder + "Songs.lrx"), songs);
    EXPECT_EQ(MainForm->AlbumNames(), (Lines{"A", "AB", "A"}));
    EXPECT_EQ(cat.read(kFolder + "Image/AB.jpg"), "AB picture");
}

TEST_F(RenameWindows, PerformerCarriesItsFolderAndReportsLeftovers) {
    cat.addPerformer("Abc");
    const QByteArray albums("A\r\n\xc0\r\n", 6);
    cat.addPerformer(kPerf, albums, "A##-**~\r\ns\r\nendalbum\r\n",
                     "A ##-**~ s\r\nt\r\nendsong\r\n");
    cat.write(kFolder + "Image/A.jpg", SmallJpeg(8, 6));
    cat.write(kFolder + "Image/notes.txt", "not carried");
    cat.write(kFolder + "own.doc", "the user's own file");
    start();
    choosePerformer(U("Кино"));
    chooseAlbum("A");
    const auto before = cat.snapshot();
    renamePerformer([&](TPerfNameEditForm* box) {
        EXPECT_EQ(box->windowTitle(), U("Изменение имени исполнителя"));
        EXPECT_EQ(box->Label1->text(), U("Введите новое имя исполнителя:"));
        EXPECT_EQ(box->Edit1->text(), U("Кино"));
        save(box, "Abc   ");
        EXPECT_EQ(box->Edit1->text(), "Abc");  // trimmed and put back
        save(box, "   ");
        save(box, "a|b");
        save(box, ".");
        EXPECT_EQ(cat.snapshot(), before);
        save(box, U("Ария  "));
        EXPECT_FALSE(box->isVisible());
    });
    EXPECT_EQ(messages(),
              (QStringList{
                  information(U("Такой исполнитель уже существует.\rВведите другое имя.")),
                  information(U("Имя исполнителя не может быть пустым.")),
                  information(U("Имя не может содержать символы \\ / : * ? \" < > |")),
                  information(U("Имя не может быть «.» или «..».")),
                  kNotCarried,
              }));
    EXPECT_EQ(cat.read("Data/performers.lrx"), W("Abc\r\nАрия\r\n"));
    const QString now = U("Data/Ария/");
    EXPECT_EQ(cat.read(now + "Albums.lrx"), albums);
    EXPECT_EQ(cat.read(now + "Songs.lrx"), before.value(kFolder + "Songs.lrx"));
    EXPECT_EQ(cat.read(now + "Texts.lrx"), before.value(kFolder + "Texts.lrx"));
    EXPECT_EQ(cat.read(now + "Image/A.jpg"), SmallJpeg(8, 6));
    EXPECT_FALSE(cat.exists(now + "Image/notes.txt"));
    EXPECT_FALSE(cat.exists(kFolder + "Image"));
    EXPECT_EQ(cat.read(kFolder + "own.doc"), "the user's own file");  // the old folder stays

    EXPECT_EQ(MainForm->PerformerNames(), (Lines{"Abc", W("Ария")}));
    EXPECT_FALSE(MainForm->HasSelectedPerformer());
    EXPECT_EQ(MainForm->AlbumNames(), Lines{});
    EXPECT_TRUE(MainForm->Image->isHidden());
    EXPECT_EQ(ImageForm->windowTitle(), U("Картинка:"));

    // The new name chosen, the albums show from the new folder.
    choosePerformer(U("Ария"));
    EXPECT_EQ(MainForm->AlbumNames(), (Lines{"A", QByteArray("\xc0")}));
}

TEST_F(RenameWindows, PerformerFolderOfTheNewNameExistsOrListCannotBeWritten) {
    cat.addPerformer(kPerf, "A\r\n");
    cat.write("Data/Stray/Albums.lrx", "not listed\r\n");
    start();
    choosePerformer(U("Кино"));
    const auto before = cat.snapshot();
    renamePerformer([&](TPerfNameEditForm* box) {
        save(box, "Stray");
        EXPECT_TRUE(box->isVisible());  // nothing written: another name may be tried
        EXPECT_EQ(cat.snapshot(), before);
        // the folder is copied, then the list's rename fails and the copies go
        fileio::failOn({fileio::Op::Rename, "performers.lrx", EACCES});
        save(box, "Other");
        fileio::clearFaults();
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(cat.snapshot(), before);
        box->CancelButton->click();
        EXPECT_EQ(box->Edit1->text(), "");
    });
    EXPECT_EQ(messages(), (QStringList{kNotCarried, "Cantoria|OK|File access denied."}));
    EXPECT_EQ(MainForm->PerformerNames(), Lines{kPerf});  // nothing renamed
}

TEST_F(RenameWindows, SongRenameKeepsSelectionAndTheTextEditorFollows) {
    cat.addPerformer(kPerf, "A\r\nB\r\n",
                     "A##-**~\r\nsong\r\nother\r\nsong\r\nendalbum\r\n"
                     "B##-**~\r\nsong\r\nendalbum\r\n",
                     "A ##-**~ song\r\nA text\r\nendsong\r\n"
                     "B ##-**~ song\r\nB text\r\nendsong\r\n");
    start();
    choosePerformer(U("Кино"));
    chooseAlbum("A");
    chooseSong("song");
    ASSERT_EQ(MainForm->Song->toPlainText(), "A text");
    renameSong([&](TSongNameEditForm* box) {
        EXPECT_EQ(box->windowTitle(), U("Изменение имени песни"));
        EXPECT_EQ(box->Label1->text(), U("Введите новое имя песни:"));
        EXPECT_EQ(box->Edit1->text(), "song");
        save(box, "other");
        save(box, "");
        save(box, "endalbum");
        save(box, U(" Новая: <*> "));
        EXPECT_FALSE(box->isVisible());
    });
    EXPECT_EQ(messages(), (QStringList{
                              information(U("Такая песня уже существует.\rВведите другое имя.")),
                              information(U("Имя песни не может быть пустым.")),
                              information(U("Песню нельзя назвать «endalbum».")),
                          }));
    const QByteArray renamed = W(" Новая: <*> ");
    EXPECT_EQ(cat.read(kFolder + "Songs.lrx"),
              "A##-**~\r\n" + renamed + "\r\nother\r\n" + renamed +
                  "\r\nendalbum\r\nB##-**~\r\nsong\r\nendalbum\r\n");
    EXPECT_EQ(cat.read(kFolder + "Texts.lrx"), "A ##-**~ " + renamed +
                                                   "\r\nA text\r\nendsong\r\n"
                                                   "B ##-**~ song\r\nB text\r\nendsong\r\n");
    EXPECT_EQ(MainForm->SongNames(), (Lines{renamed, "other", renamed}));
    EXPECT_EQ(MainForm->SelectedSong(), renamed);
    EXPECT_EQ(MainForm->SongsListBox->currentRow(), 0);
    EXPECT_EQ(MainForm->Song->toPlainText(), "A text");
    EXPECT_EQ(Session->CurrentSong(), renamed);
    EXPECT_EQ(Session->TextKey(), "A ##-**~ " + renamed);

    // The text editor opened right away finds the song's text under its new name.
    modal.onDialog([](QDialog*) { EXPECT_EQ(MemoLines(SongForm->Memo1), QStringList{"A text"}); });
    MainForm->SongEdSpeedButton->click();
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(RenameWindows, SongFailureGivesTheErrorReportAndKeepsTheList) {
    cat.addPerformer(kPerf, "A\r\n", "A##-**~\r\nsong\r\nendalbum\r\n", "");
    start();
    choosePerformer(U("Кино"));
    chooseAlbum("A");
    chooseSong("song");
    const auto before = cat.snapshot();
    renameSong([&](TSongNameEditForm* box) {
        fileio::failAt(1, ENOENT, fileio::FaultMode::Once);
        save(box, "new");
        EXPECT_TRUE(box->isVisible());
        box->CancelButton->click();
    });
    EXPECT_EQ(messages(), QStringList{"Cantoria|OK|File not found."});
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_EQ(MainForm->SongNames(), Lines{"song"});
    EXPECT_EQ(Session->CurrentSong(), "song");
}
