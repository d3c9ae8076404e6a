// The main window as a user meets it: first start, walking a catalogue, the warnings, the
// layout rule, edit mode with its hover panels, every command's preconditions, appearance.
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QToolButton>

#include "app/Forms.h"
#include "dialogs/AddPerfSelectForm.h"
#include "dialogs/AvtorForm.h"
#include "dialogs/SongForm.h"
#include "mainwindow/ImageForm.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/PictureView.h"
#include "store/FileIo.h"
#include "support/Appearance.h"
#include "support/HelpForm.h"
#include "tests/helpers/AppFixture.h"

namespace {

// A pointer move over a control, in the control's own coordinates.
void moveOver(QWidget* w, QPoint at = QPoint(5, 5)) {
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

QString info(const QString& text) {
    return "Information|OK|" + text;
}
QString warning(const QString& text) {
    return "Warning|OK|" + text;
}

class MainWindowTest : public AppTest {
  protected:
    // A catalogue in Windows-1251 with the shapes real files have.
    void layOutCatalogue() {
        cat.addPerformer(W("Кино"), W("Группа крови\r\n\r\n  \r\nНочь\r\n"),
                         W("stray line\r\n"
                           "Группа крови##-**~\r\nГруппа крови\r\nЗвезда\r\nendalbum\r\n"
                           "Ночь##-**~\r\nМама, мы все сошли с ума\r\nendalbum\r\n"
                           "группа крови##-**~\r\nwrong case\r\nendalbum\r\n"
                           "Группа крови##-**~\r\nСпокойная ночь\r\nendalbum\r\n"),
                         W("Группа крови ##-**~ Звезда\r\nПервая часть\r\nendsong\r\n"
                           "\r\nмусор\r\n"
                           "Группа крови ##-**~ Звезда\r\nВторая часть\r\n"
                           "Ночь ##-**~ Звезда\r\nтоже строка\r\nendsong\r\n"
                           "Группа крови ##-**~ Группа крови\r\nТёплое место\r\x1a"
                           "хвост\r\nНо улицы ждут\rотпечатков\nendsong\r\n"));
        cat.write("Data/performers.lrx", W("Кино\r\n\r\nАрия\r\n"));
    }
};

}  // namespace

TEST_F(MainWindowTest, FirstStartInAnEmptyDirectory) {
    modal.onDialog([](QDialog* d) { EXPECT_EQ(d->windowTitle(), U("Справка")); });
    start(/*firstRunDone=*/false);
    EXPECT_EQ(cat.read("Data/performers.lrx"), QByteArray());
    EXPECT_EQ(MainForm->PerfComboBox->count(), 0);
    EXPECT_EQ(MainForm->windowTitle(), U("Тексты песен"));
    EXPECT_FALSE(MainForm->Image->isVisibleTo(MainForm));

    MainForm->FormActivate();
    EXPECT_EQ(messages(), QStringList{info(U("Если вы впервые используете эту программу, "
                                             "рекомендуется прочитать справку."))});
    EXPECT_EQ(modal.execed, std::vector<QString>{"THelpForm"});
    MainForm->FormActivate();  // the flag is there now
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(modal.execed.size(), 1u);
}

// The program's own start shows the main window before it makes the other windows; the
// first-run question that the window's activation asks waits for them.
TEST_F(MainWindowTest, TheProgramsStartAsksOnFirstRunOnceEveryWindowExists) {
    modal.onDialog([](QDialog* d) { EXPECT_EQ(d->windowTitle(), U("Справка")); });
    forgetFirstRun();
    QDir::setCurrent(cat.startDir());
    StartProgram(Watch::Nothing);
    QApplication::processEvents();
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_EQ(messages(), QStringList{info(U("Если вы впервые используете эту программу, "
                                             "рекомендуется прочитать справку."))});
    EXPECT_EQ(modal.execed, std::vector<QString>{"THelpForm"});
}

TEST_F(MainWindowTest, AFirstRunFlagThatCannotBeWrittenIsReportedOncePerRun) {
    start(/*firstRunDone=*/false);
    const QString flagFile = QSettings(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("software"), QStringLiteral("Cantoria"))
                                 .fileName();
    QFile::remove(flagFile);
    ASSERT_TRUE(QDir().mkpath(flagFile));  // a folder where the file would go
    MainForm->FormActivate();
    MainForm->FormActivate();  // closing the error box activates the window again
    EXPECT_EQ(messages(), QStringList{"Cantoria|OK|Unable to write to " + flagFile + "."});
    EXPECT_TRUE(modal.execed.empty());

    ASSERT_TRUE(QDir().rmdir(flagFile));
    DestroyForms();  // the next start looks again
    modal.onDialog([](QDialog*) {});
    start(/*firstRunDone=*/false);
    MainForm->FormActivate();
    EXPECT_EQ(messages(), QStringList{info(U("Если вы впервые используете эту программу, "
                                             "рекомендуется прочитать справку."))});
}

TEST_F(MainWindowTest, WalkingACatalogue) {
    layOutCatalogue();
    cat.write(U("Data/Кино/Image/Группа крови.jpg"), SmallJpeg(40, 20));
    start();
    EXPECT_EQ(ItemTexts(MainForm->PerfComboBox), (QStringList{U("Кино"), U("Ария")}));
    EXPECT_EQ(MainForm->PerfComboBox->currentIndex(), -1);
    EXPECT_EQ(cat.read("Data/performers.lrx"), W("Кино\r\n\r\nАрия\r\n"));  // not rewritten

    choosePerformer(U("Кино"));
    EXPECT_EQ(ItemTexts(MainForm->AlbumsComboBox),
              (QStringList{U("Группа крови"), "", "  ", U("Ночь")}));
    EXPECT_EQ(MainForm->AlbumsComboBox->currentIndex(), -1);
    EXPECT_EQ(ImageForm->windowTitle(), U("Картинка: "));

    chooseAlbum(U("Группа крови"));
    EXPECT_EQ(ItemTexts(MainForm->SongsListBox),
              (QStringList{U("Группа крови"), U("Звезда"), U("Спокойная ночь")}));
    EXPECT_TRUE(MainForm->Image->isVisibleTo(MainForm));
    EXPECT_EQ(MainForm->Image->picture().size(), QSize(40, 20));
    EXPECT_EQ(ImageForm->windowTitle(), U("Картинка: Кино - Группа крови"));
    EXPECT_EQ(ImageForm->Image1->picture().size(), QSize(40, 20));

    chooseSong(U("Звезда"));
    EXPECT_EQ(MainForm->Song->toPlainText(),
              U("Первая часть\nВторая часть\nНочь ##-**~ Звезда\nтоже строка"));
    EXPECT_EQ(Session->TextKey(), W("Группа крови ##-**~ Звезда"));
    chooseSong(U("Группа крови"));
    EXPECT_EQ(MainForm->Song->toPlainText(), U("Тёплое место\nНо улицы ждутотпечатков"));

    chooseAlbum(U("Ночь"));  // no picture, no text selected
    EXPECT_FALSE(MainForm->Image->isVisibleTo(MainForm));
    EXPECT_EQ(MainForm->Song->toPlainText(), "");
    EXPECT_EQ(ItemTexts(MainForm->SongsListBox), QStringList{U("Мама, мы все сошли с ума")});
    chooseAlbum("");  // an empty album name looks for the bare marker
    EXPECT_TRUE(ItemTexts(MainForm->SongsListBox).isEmpty());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(MainWindowTest, MissingFilesGiveTheirWarningsWithFullPaths) {
    layOutCatalogue();
    cat.write("Data/performers.lrx", W("Кино\r\nПустой\r\n"));
    start();
    choosePerformer(U("Пустой"));
    EXPECT_EQ(messages(), QStringList{warning(U("Не найдено файла с списком альбомов: ") +
                                              cat.path(U("Data/Пустой/Albums.lrx")))});
    EXPECT_EQ(MainForm->AlbumsComboBox->count(), 0);

    choosePerformer(U("Кино"));
    chooseAlbum(U("Группа крови"));
    QFile::remove(cat.path(U("Data/Кино/Songs.lrx")));
    QFile::remove(cat.path(U("Data/Кино/Texts.lrx")));
    chooseAlbum(U("Ночь"));
    EXPECT_EQ(messages(), QStringList{warning(U("Не найдено файла с списками песен: ") +
                                              cat.path(U("Data/Кино/Songs.lrx")))});
    EXPECT_EQ(MainForm->SongsListBox->count(), 3);  // the previous list stays
    // The chosen song is highlighted while its warning is open, by mouse and by keyboard.
    QStringList highlighted;
    modal.whileMessageShown([&](const MessageBox&) {
        for (const QListWidgetItem* item : MainForm->SongsListBox->selectedItems())
            highlighted << item->text();
    });
    chooseSong(U("Звезда"));
    EXPECT_EQ(messages(), QStringList{warning(U("Не найдено файла с тексами песен: ") +
                                              cat.path(U("Data/Кино/Texts.lrx")))});
    QTest::keyClick(MainForm->SongsListBox, Qt::Key_Down);
    chooseSong(U("Спокойная ночь"));  // the entry already chosen: once more
    EXPECT_EQ(messages().size(), 2);
    EXPECT_EQ(highlighted, (QStringList{U("Звезда"), U("Спокойная ночь"), U("Спокойная ночь")}));
}

TEST_F(MainWindowTest, AnUnreadablePictureIsReportedAndTheSongsStillShow) {
    layOutCatalogue();
    cat.write(U("Data/Кино/Image/Ночь.jpg"), "not a jpeg at all");
    start();
    choosePerformer(U("Кино"));
    chooseAlbum(U("Ночь"));
    const QStringList shown = messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Cantoria|OK|Not a JPEG file")) << shown[0].toStdString();
    EXPECT_EQ(ItemTexts(MainForm->SongsListBox), QStringList{U("Мама, мы все сошли с ума")});
    EXPECT_FALSE(MainForm->Image->isVisibleTo(MainForm));
}

TEST_F(MainWindowTest, LayoutFollowsTheWindowSize) {
    start();
    MainForm->show();
    struct Case {
        QSize outer;
        int listHeight, t, paneHeight, paneWidth;
    };
    for (const Case& c :
         {Case{{696, 644}, 234, 379, 601, 369}, Case{{600, 610}, 200, 345, 567, 300},
          Case{{1000, 900}, 490, 635, 857, 673}, Case{{400, 300}, 200, 345, 565, 300}}) {
        MainForm->resize(c.outer - (MainForm->OuterSize() - MainForm->size()));
        QApplication::processEvents();
        EXPECT_EQ(MainForm->OuterSize(), c.outer);
        EXPECT_EQ(MainForm->SongsListBox->height(), c.listHeight);
        EXPECT_EQ(MainForm->ImagePanel->y(), c.t);
        EXPECT_EQ(MainForm->ImageSpeedButton->y(), c.t);
        EXPECT_EQ(MainForm->DelImageSpeedButton->y(), c.t + 30);
        EXPECT_EQ(MainForm->ScanerSpeedButton->y(), c.t + 106);
        EXPECT_EQ(MainForm->DefaultSpeedButton->y(), c.t + 138);
        EXPECT_EQ(MainForm->RedONSpeedButton->y(), c.t + 170);
        EXPECT_EQ(MainForm->HelpSpeedButton->y(), c.t + 202);
        EXPECT_EQ(MainForm->SongPanel->size(), QSize(c.paneWidth, c.paneHeight));
        EXPECT_EQ(MainForm->Song->size(), MainForm->SongPanel->size());
        EXPECT_EQ(MainForm->ImagePanel->size(), QSize(257, 225));
        EXPECT_EQ(MainForm->SongsListBox->pos(), QPoint(32, 128));
    }
}

TEST_F(MainWindowTest, EditModeAndHoverPanels) {
    start();
    MainForm->show();
    auto shown = [](QWidget* w) { return w->isVisibleTo(MainForm); };
    EXPECT_TRUE(shown(MainForm->RedONSpeedButton));
    EXPECT_FALSE(shown(MainForm->DelAvtSpeedButton));
    EXPECT_FALSE(shown(MainForm->PerformersSpeedButton));
    QTest::mouseClick(MainForm->RedONSpeedButton, Qt::LeftButton);
    for (QToolButton* b :
         {MainForm->DelAvtSpeedButton, MainForm->EdAlbumSpeedButton, MainForm->ImageSpeedButton,
          MainForm->DelImageSpeedButton, MainForm->PerformersSpeedButton,
          MainForm->SongEdSpeedButton, MainForm->SongsSpeedButton, MainForm->RedOFFSpeedButton,
          MainForm->DefaultSpeedButton, MainForm->ScanerSpeedButton})
        EXPECT_TRUE(shown(b));
    EXPECT_FALSE(shown(MainForm->RedONSpeedButton));
    EXPECT_EQ(MainForm->ScanerSpeedButton->toolTip(), U("Сканер песен"));
    EXPECT_EQ(MainForm->PlusPerfSpeedButton->toolTip(), U("Добавление нового исполнителя"));

    moveOver(MainForm->PerformersSpeedButton);
    EXPECT_TRUE(shown(MainForm->PerfListPanel));
    EXPECT_FALSE(shown(MainForm->AlbomLabel));
    EXPECT_FALSE(shown(MainForm->PesniLabel));
    MainForm->PerfListPanelMouseMove(5, 20);   // its left border, towards the trigger
    MainForm->PerfListPanelMouseMove(30, 49);  // the gap between the buttons
    MainForm->PerfListPanelMouseMove(30, 50);
    moveOver(MainForm->PlusPerfSpeedButton);  // down over its buttons
    moveOver(MainForm->EditPerfNameSpeedButton);
    EXPECT_TRUE(shown(MainForm->PerfListPanel));
    moveOver(MainForm->PerfListPanel, QPoint(51, 30));  // leaving to the right
    EXPECT_FALSE(shown(MainForm->PerfListPanel));
    EXPECT_TRUE(shown(MainForm->AlbomLabel));

    moveOver(MainForm->EdAlbumSpeedButton);
    EXPECT_TRUE(shown(MainForm->AlbumListPanel));
    EXPECT_TRUE(shown(MainForm->AlbomLabel));
    EXPECT_FALSE(shown(MainForm->PesniLabel));
    MainForm->AlbumListPanelMouseMove(30, 60);  // only its upper rows close it
    EXPECT_TRUE(shown(MainForm->AlbumListPanel));
    MainForm->AlbumListPanelMouseMove(30, 21);
    EXPECT_FALSE(shown(MainForm->AlbumListPanel));
    EXPECT_TRUE(shown(MainForm->PesniLabel));

    moveOver(MainForm->SongsSpeedButton);
    EXPECT_TRUE(shown(MainForm->SongsListPanel));
    moveOver(MainForm->SongsListBox->viewport());
    EXPECT_FALSE(shown(MainForm->SongsListPanel));

    moveOver(MainForm->SongsSpeedButton);
    QTest::mouseClick(MainForm->RedOFFSpeedButton, Qt::LeftButton);
    EXPECT_TRUE(shown(MainForm->SongsListPanel));  // stays until the pointer moves on
    moveOver(MainForm, QPoint(200, 5));
    EXPECT_FALSE(shown(MainForm->SongsListPanel));
    EXPECT_TRUE(shown(MainForm->RedONSpeedButton));
    EXPECT_FALSE(shown(MainForm->ScanerSpeedButton));
}

TEST_F(MainWindowTest, EveryCommandChecksItsPreconditions) {
    layOutCatalogue();
    cat.write("Data/performers.lrx", W("Кино\r\n"));
    start();
    MainForm->EditPerfNameSpeedButtonClick();
    MainForm->ScanerSpeedButtonClick();
    MainForm->EditAlbListSpeedButtonClick();
    MainForm->EditAlbNameSpeedButtonClick();
    MainForm->EditSongsListSpeedButtonClick();
    MainForm->EditSongNameSpeedButtonClick();
    MainForm->SongEdSpeedButtonClick();
    EXPECT_EQ(
        messages(),
        (QStringList{info(U("Выберите исполнителя.")), info(U("Выберите исполнителя.")),
                     info(U("Выберите исполнителя.")),
                     info(U("Не выбрано имени для редактирования.")), info(U("Выберите альбом.")),
                     info(U("Выберите песню.")), info(U("Не выбрано песни для редактирования."))}));
    EXPECT_TRUE(modal.execed.empty());

    // The scanner asks before it replaces a performer's data.
    choosePerformer(U("Кино"));
    modal.answer(Cancel);
    MainForm->ScanerSpeedButtonClick();
    EXPECT_EQ(messages(), QStringList{"Information|OK,Cancel|" +
                                      U("Данные этого исполнителя не пусты.\rСканирование "
                                        "заменит всю имеющуюся информацию.\rХотите "
                                        "продолжить?")});
    EXPECT_TRUE(modal.execed.empty());
}

TEST_F(MainWindowTest, LoadersFillTheEditorsBuffers) {
    layOutCatalogue();
    start();
    choosePerformer(U("Кино"));
    chooseAlbum(U("Группа крови"));
    chooseSong(U("Звезда"));
    QStringList seen;
    auto capture = [&seen](QDialog* d) { seen << d->findChild<QPlainTextEdit*>()->toPlainText(); };
    modal.onDialog(capture);
    modal.onDialog(capture);
    modal.onDialog(capture);
    MainForm->EditAlbListSpeedButtonClick();
    MainForm->EditSongsListSpeedButtonClick();
    MainForm->SongEdSpeedButtonClick();
    EXPECT_EQ(seen, (QStringList{U("Группа крови\n\n  \nНочь\n"),
                                 U("Группа крови\nЗвезда\nСпокойная ночь\n"),
                                 U("Первая часть\nВторая часть\nНочь ##-**~ Звезда\n"
                                   "тоже строка\n")}));
    EXPECT_EQ(SongForm->windowTitle(), U("Редактор текста песен   -   Звезда"));
    EXPECT_EQ(modal.execed, (std::vector<QString>{"TAlbumsForm", "TSongsForm", "TSongForm"}));
}

TEST_F(MainWindowTest, TheChosenFontColourReachesTheListsTheFileAndTheDialogs) {
    layOutCatalogue();
    cat.write("Data/Settings.ini", "[font]\r\nname=Courier\r\nsize=20\r\ncolor=16711680\r\n");
    start();
    MainForm->RedONSpeedButton->click();
    const QColor red(255, 0, 0);
    modal.chooseFont(DesignedFont(14), red);
    MainForm->N2->trigger();
    // The first use offers the designed font in window-text colour, whatever the file says.
    EXPECT_EQ(modal.lastFontOffered, DesignedFont());
    EXPECT_EQ(modal.lastFontColourOffered, QApplication::palette().color(QPalette::WindowText));
    const auto shows = [&](QWidget* w, int size) {
        EXPECT_EQ(w->font().pointSize(), size) << w->metaObject()->className();
        EXPECT_EQ(w->palette().color(QPalette::Text), red) << w->metaObject()->className();
    };
    shows(MainForm->Song, 14);
    for (QWidget* list : std::initializer_list<QWidget*>{
             MainForm->PerfComboBox, MainForm->AlbumsComboBox, MainForm->SongsListBox})
        shows(list, 8);
    EXPECT_EQ(cat.read("Data/Settings.ini"),
              "[font]\r\nname=MS Sans Serif\r\nsize=14\r\ncolor=255\r\n");

    // The text editor and the new-performer box show it at their next opening.
    choosePerformer(U("Кино"));
    chooseAlbum(U("Группа крови"));
    chooseSong(U("Звезда"));
    modal.onDialog([&](QDialog*) { shows(SongForm->Memo1, 14); });
    MainForm->SongEdSpeedButton->click();
    modal.onDialog([](QDialog*) {
        AddPerfSelectForm->RadioButton2->click();
        AddPerfSelectForm->Button1->click();
    });
    modal.onDialog([&](QDialog*) { shows(AvtorForm->VvodAvtEdit, 14); });
    MainForm->PlusPerfSpeedButton->click();

    modal.chooseFont(std::nullopt);  // the next use offers the last choice
    MainForm->N2->trigger();
    EXPECT_EQ(modal.lastFontOffered.pointSize(), 14);
    EXPECT_EQ(modal.lastFontColourOffered, red);
}

TEST_F(MainWindowTest, AppearanceAtStartFromTheMenuAndOnReset) {
    cat.write("Data/Settings.ini",
              "[font]\r\nname=Courier\r\nsize=14\r\ncolor=255\r\n[colors]\r\ncolor=$00FF00\r\n"
              "formcolor=0x0000FF\r\n[own]\r\nkeep=1\r\n");
    start();
    EXPECT_EQ(MainForm->Song->font().pointSize(), 14);
    EXPECT_EQ(MainForm->SongsListBox->font().pointSize(), 8);
    EXPECT_EQ(MainForm->PerfComboBox->font().family(), "Courier");
    EXPECT_EQ(MainForm->Song->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(MainForm->Song->palette().color(QPalette::Base), QColor(0, 255, 0));
    EXPECT_EQ(MainForm->palette().color(QPalette::Window), QColor(255, 0, 0));

    QFont big(QStringLiteral("Serif"));
    big.setPointSize(20);
    modal.chooseFont(big);
    MainForm->N2->trigger();
    EXPECT_EQ(MainForm->Song->font().pointSize(), 20);
    EXPECT_EQ(MainForm->AlbumsComboBox->font().pointSize(), 8);
    EXPECT_EQ(MainForm->AlbumsComboBox->font().family(), "Serif");
    modal.chooseColor(QColor(1, 2, 3));
    MainForm->N4->trigger();
    EXPECT_EQ(modal.lastColourOffered, QColor(Qt::black));
    modal.chooseColor(std::nullopt);  // cancelled: nothing changes
    MainForm->N6->trigger();
    EXPECT_EQ(modal.lastColourOffered, QColor(1, 2, 3));
    const QByteArray written = cat.read("Data/Settings.ini");
    EXPECT_TRUE(written.contains("name=Serif\r\nsize=20\r\n")) << written.toStdString();
    EXPECT_TRUE(written.contains("[colors]\r\ncolor=197121\r\nformcolor=0x0000FF\r\n"));

    // The help window takes font colour and background at its next activation.
    modal.onDialog([](QDialog* d) {
        auto* help = static_cast<THelpForm*>(d);
        EXPECT_EQ(help->Memo1->palette().color(QPalette::Base), QColor(1, 2, 3));
        EXPECT_EQ(help->Memo1->font().pixelSize(), 13);
    });
    QTest::mouseClick(MainForm->HelpSpeedButton, Qt::LeftButton);

    MainForm->DefaultSpeedButtonClick();
    EXPECT_EQ(MainForm->Song->font().pointSize(), 8);
    EXPECT_EQ(MainForm->Song->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_TRUE(cat.read("Data/Settings.ini").contains("[own]\r\nkeep=1\r\n"));
    EXPECT_TRUE(messages().isEmpty());

    fileio::failAt(1, EROFS, fileio::FaultMode::FromThenOn);
    MainForm->DefaultSpeedButtonClick();
    fileio::clearFaults();
    EXPECT_EQ(messages(),
              QStringList{"Cantoria|OK|Unable to write to " + cat.path("Data/Settings.ini") + "."});
}

// The user's way to undo: Ctrl+Z and Ctrl+Shift+Z in edit mode, the text pane's menu naming
// the step, and never over a file someone else changed since.
TEST_F(MainWindowTest, CtrlZUndoesASavedTextAndADeletionInEditModeOnly) {
    layOutCatalogue();
    start();
    MainForm->show();
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        MainForm->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
        QTest::keyClick(MainForm->SongsListBox, key, modifiers);
    };
    const auto before = cat.snapshot();
    choosePerformer(U("Кино"));
    chooseAlbum(U("Группа крови"));
    chooseSong(U("Звезда"));
    const QString shown = MainForm->Song->toPlainText();
    MainForm->RedONSpeedButton->click();
    EXPECT_EQ(MainForm->UndoItem->text(), U("Отменить"));
    EXPECT_FALSE(MainForm->UndoItem->isEnabled());
    modal.onDialog([](QDialog*) {
        SongForm->Memo1->setPlainText(U("Новый текст"));
        SongForm->Button1SaveClick();
    });
    MainForm->SongEdSpeedButton->click();
    const auto saved = cat.snapshot();
    EXPECT_EQ(MainForm->UndoItem->text(), U("Отменить: текст песни «Звезда»"));
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_EQ(MainForm->Song->toPlainText(), shown);
    EXPECT_EQ(MainForm->SongsListBox->currentItem()->text(), U("Звезда"));
    EXPECT_EQ(MainForm->RedoItem->text(), U("Повторить: текст песни «Звезда»"));

    MainForm->RedOFFSpeedButton->click();  // view mode: nothing to press
    EXPECT_FALSE(MainForm->RedoItem->isEnabled());
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(cat.snapshot(), before);
    MainForm->RedONSpeedButton->click();
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(cat.snapshot(), saved);

    MainForm->DelAvtSpeedButton->click();
    EXPECT_EQ(MainForm->UndoItem->text(), U("Отменить: удаление исполнителя «Кино»"));
    // The folder waits in the desktop's trash too (the test's own, in Qt's test mode).
    EXPECT_EQ(QFile(QDir::homePath() + U("/.qttest/share/Trash/files/Кино/Texts.lrx")).size(),
              saved.value(U("Data/Кино/Texts.lrx")).size());
    MainForm->UndoItem->trigger();
    EXPECT_EQ(cat.snapshot(), saved);
    EXPECT_EQ(ItemTexts(MainForm->PerfComboBox), (QStringList{U("Кино"), U("Ария")}));
    EXPECT_EQ(MainForm->PerfComboBox->currentText(), U("Кино"));

    cat.write(U("Data/Кино/Texts.lrx"), "theirs\r\n");  // another copy of the program
    MainForm->UndoItem->trigger();
    EXPECT_EQ(cat.read(U("Data/Кино/Texts.lrx")), "theirs\r\n");
    EXPECT_EQ(messages().last(),
              warning(U("Отменить нельзя: файл «Кино/Texts.lrx» изменён после этого действия.")));
    EXPECT_EQ(MainForm->UndoItem->text(), U("Отменить: текст песни «Звезда»"));
}
