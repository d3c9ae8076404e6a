// The lyrics search as the user meets it: Ctrl+F or the text pane's menu opens the window,
// typing lists the songs found, choosing one walks the main window to it, and the results
// follow what the editing commands write.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/Forms.h"
#include "app/SearchWiring.h"
#include "dialogs/SongForm.h"
#include "mainwindow/MainForm.h"
#include "search/SearchIndex.h"
#include "search/SearchService.h"
#include "searchwindow/SearchForm.h"
#include "tests/helpers/AppFixture.h"

void AddTwoPerformers(const TempCatalogue& cat);  // in search_index_tests.cpp

namespace {

class SearchWindowTest : public AppTest {
  protected:
    SearchWindowTest() { AddTwoPerformers(cat); }
    ~SearchWindowTest() override { DestroySearchWindow(); }

    void startWithSearch(const QString& cacheFolder = {}) {
        SetSearchCacheFolder(cacheFolder.isEmpty() ? cache.path() : cacheFolder);
        start();
        CreateSearchWindow();
        MainForm->show();
        MainForm->activateWindow();
        QTRY_VERIFY(!SearchForm->Index().busy());
    }
    // Opens the window as the user does, types, and waits for the pause after typing.
    void find(const QString& typed) {
        SearchForm->Open();
        QTRY_VERIFY(!SearchForm->Index().busy());
        SearchForm->FindEdit->setText(typed);  // as typed: the same change of the edit box
        QTest::qWait(TSearchForm::kTypingPauseMs + 50);
    }
    static QStringList results() {
        QStringList out;
        for (int i = 0; i < SearchForm->FoundListBox->count(); ++i)
            out << SearchForm->FoundListBox->item(i)->text();
        return out;
    }
    QTemporaryDir cache;
};

TEST_F(SearchWindowTest, TypeSeeTheResultsAndChooseOne) {
    startWithSearch();
    EXPECT_FALSE(SearchForm->isVisible());
    QTest::keyClick(MainForm, Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(SearchForm->isVisible());
    EXPECT_EQ(SearchForm->windowTitle(), U("Поиск"));
    EXPECT_EQ(SearchForm->FindEdit->accessibleName(), U("Найти"));
    EXPECT_EQ(SearchForm->FoundListBox->accessibleName(), U("Найдено"));
    QTRY_VERIFY(SearchForm->FindEdit->hasFocus());

    find(U("снег"));
    EXPECT_EQ(results(), QStringList({U("Кино — Звезда — Снег\nСнег"),
                                      U("Ария — Герой — Закат\nСнегопад над ЁЛКОЙ")}));
    EXPECT_TRUE(SearchForm->FoundListBox->item(1)
                    ->data(Qt::UserRole + 1)
                    .toString()
                    .endsWith(U("<br><b>Снегопад</b> над ЁЛКОЙ")));
    EXPECT_EQ(SearchForm->StatusLabel->text(), U("Найдено песен: 2"));
    QTest::keyClick(SearchForm->FindEdit, Qt::Key_Down);  // from the words to the results
    EXPECT_TRUE(SearchForm->FoundListBox->hasFocus());

    // Enter chooses the current result: the main window walks to it, the line selected.
    SearchForm->FoundListBox->setCurrentRow(1);
    QTest::keyClick(SearchForm->FoundListBox, Qt::Key_Return);
    EXPECT_EQ(MainForm->PerfComboBox->currentText(), U("Ария"));
    EXPECT_EQ(MainForm->AlbumsComboBox->currentText(), U("Герой"));
    EXPECT_EQ(MainForm->SongsListBox->currentItem()->text(), U("Закат"));
    EXPECT_EQ(MainForm->Song->toPlainText(), U("Вечер тихий\nСнегопад над ЁЛКОЙ"));
    EXPECT_EQ(MainForm->Song->textCursor().selectedText(), U("Снегопад над ЁЛКОЙ"));
    EXPECT_TRUE(SearchForm->isVisible());
    EXPECT_EQ(messages(), QStringList());

    find(U("\"над снег"));  // a phrase in the wrong order, its quote left open
    EXPECT_EQ(results(), QStringList());
    EXPECT_EQ(SearchForm->StatusLabel->text(), U("Ничего не найдено"));
    find(U("ЕЛК \"снегопад над\""));
    EXPECT_EQ(results().size(), 1);
    find(U(""));
    EXPECT_EQ(results(), QStringList());
    EXPECT_EQ(SearchForm->StatusLabel->text(), QString());
    QTest::keyClick(SearchForm->FindEdit, Qt::Key_Escape);
    EXPECT_FALSE(SearchForm->isVisible());

    // The text pane's menu opens it too, after a separator (undo and redo follow it).
    const QList<QAction*> entries = MainForm->SongPopupMenu->actions();
    qsizetype search = 0;
    while (search < entries.size() && entries[search]->text() != U("Поиск по текстам…")) ++search;
    ASSERT_LT(search, entries.size());
    EXPECT_TRUE(entries[search - 1]->isSeparator());
    entries[search]->trigger();
    EXPECT_TRUE(SearchForm->isVisible());
}

TEST_F(SearchWindowTest, ResultsFollowTheCommands) {
    startWithSearch();
    choosePerformer(U("Кино"));
    chooseAlbum(U("Звезда"));
    chooseSong(U("Снег"));
    modal.onDialog([](QDialog* d) {
        auto* f = static_cast<TSongForm*>(d);
        f->Memo1->setPlainText(U("Группа крови"));
        f->Button1Save->click();
    });
    MainForm->SongEdSpeedButton->click();
    find(U("крови"));
    QTRY_COMPARE(results(), QStringList({U("Кино — Звезда — Снег\nГруппа крови")}));
    find(U("красная"));
    EXPECT_EQ(results(), QStringList());

    modal.answer(Yes);
    MainForm->DelAvtSpeedButton->click();
    find(U("крови"));
    QTRY_COMPARE(results(), QStringList());
    find(U("вечер"));
    EXPECT_EQ(results().size(), 1);
}

TEST_F(SearchWindowTest, AnIndexDamagedWhileRunningIsBuiltAnew) {
    startWithSearch();
    // Every page in the index's log turned to rubbish, its header left whole.
    QFile log(IndexFilePath(cache.path(), cat.startDir()) + QStringLiteral("-wal"));
    ASSERT_TRUE(log.open(QIODevice::ReadWrite));
    ASSERT_GT(log.size(), 32);
    log.seek(32);
    log.write(QByteArray(log.size() - 32, '\xff'));
    log.close();
    find(U("вечер"));  // the results come once the index is built anew, without a message
    QTRY_COMPARE(results(), QStringList({U("Ария — Герой — Закат\nВечер тихий")}));
    EXPECT_EQ(messages(), QStringList());
}

TEST_F(SearchWindowTest, AnUnwritableCacheFolderStillGivesResults) {
    startWithSearch(cat.path(QStringLiteral("Data/performers.lrx/cache")));
    EXPECT_TRUE(SearchForm->Index().inMemory());
    find(U("вечер"));
    EXPECT_EQ(results(), QStringList({U("Ария — Герой — Закат\nВечер тихий")}));
}

TEST_F(SearchWindowTest, AFileThatCannotBeReadIsCounted) {
    QFile::remove(cat.path(QStringLiteral("Data/Кино/Songs.lrx")));
    startWithSearch();
    find(U("вечер"));
    EXPECT_EQ(SearchForm->StatusLabel->text(),
              U("Найдено песен: 1. Не прочитаны файлы исполнителей: 1"));
}

}  // namespace
