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
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <algorithm>

#include "app/Forms.h"
#include "app/SearchWiring.h"
#include "dialogs/PerfNameEditForm.h"
#include "dialogs/SongForm.h"
#include "mainwindow/MainForm.h"
#include "search/SearchIndex.h"
#include "search/SearchService.h"
#include "searchwindow/SearchForm.h"
#include "tests/helpers/AppFixture.h"

void AddTwoPerformers(const TempCatalogue& cat);  // in search_index_tests.cpp

namespace {

// Waits, events running, until the condition holds; false when it does not within the time.
// (QtTest's QTRY_ macros report to QtTest, where a failing GoogleTest test would not see them.)
template <typename Condition>
bool Eventually(Condition condition, int timeoutMs = 20000) {
    return QTest::qWaitFor(condition, timeoutMs);
}

class SearchWindowTest : public AppTest {
  protected:
    SearchWindowTest() { AddTwoPerformers(cat); }
    ~SearchWindowTest() override { DestroySearchWindow(); }

    void startWithSearch(const QString& cacheFolder = {}, bool waitForTheIndex = true) {
        SetSearchCacheFolder(cacheFolder.isEmpty() ? cache.path() : cacheFolder);
        start();
        CreateSearchWindow();
        MainForm->show();
        MainForm->activateWindow();
        if (waitForTheIndex) {
            ASSERT_TRUE(Eventually([] { return !SearchIndexService->busy(); }));
        }
    }
    // Opens the window as the user does, types, and waits for the pause after typing.
    void find(const QString& typed) {
        SearchForm->Open();
        ASSERT_TRUE(Eventually([] { return !SearchIndexService->busy(); }));
        type(typed);
    }
    // Types into the open window, without activating it again.
    static void type(const QString& typed) {
        SearchForm->FindEdit->setText(typed);  // as typed: the same change of the edit box
        QTest::qWait(TSearchForm::kTypingPauseMs + 50);
    }
    // The results once they are `expected` (the index works on a thread of its own), or as
    // they are when they do not become it.
    static QStringList resultsBecome(const QStringList& expected) {
        Eventually([&] { return results() == expected; });
        return results();
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
    EXPECT_TRUE(Eventually([] { return SearchForm->isVisible(); }));
    EXPECT_EQ(SearchForm->windowTitle(), U("Поиск"));
    EXPECT_EQ(SearchForm->FindEdit->accessibleName(), U("Найти"));
    EXPECT_EQ(SearchForm->FoundListBox->accessibleName(), U("Найдено"));
    EXPECT_TRUE(Eventually([] { return SearchForm->FindEdit->hasFocus(); }));

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

    // The text pane's menu opens it too, after a separator (the undo entries follow it).
    const QList<QAction*> entries = MainForm->SongPopupMenu->actions();
    const qsizetype search = entries.indexOf(MainForm->SearchAction);
    ASSERT_GT(search, 0);
    EXPECT_TRUE(entries[search - 1]->isSeparator());
    EXPECT_EQ(entries[search]->text(), U("Поиск по текстам…"));
    entries[search]->trigger();
    EXPECT_TRUE(SearchForm->isVisible());
}

// The window is opened once and never activated again: only the session's signals can bring
// the commands' changes to the index, and the shown results follow them without retyping.
TEST_F(SearchWindowTest, TheOpenWindowFollowsTheCommands) {
    startWithSearch();
    MainForm->RedONSpeedButton->click();
    choosePerformer(U("Кино"));
    chooseAlbum(U("Звезда"));
    chooseSong(U("Снег"));
    find(U("кров"));
    EXPECT_EQ(results(), QStringList());
    modal.onDialog([](QDialog* d) {
        auto* f = static_cast<TSongForm*>(d);
        f->Memo1->setPlainText(U("Группа крови"));
        f->Button1Save->click();
    });
    MainForm->SongEdSpeedButton->click();
    const QStringList saved = {U("Кино — Звезда — Снег\nГруппа крови")};
    EXPECT_EQ(resultsBecome(saved), saved);

    MainForm->PerformersSpeedButtonMouseMove();
    modal.onDialog([](QDialog* d) {
        auto* f = static_cast<TPerfNameEditForm*>(d);
        f->Edit1->setText(U("Алиса"));
        f->SaveButton->click();
    });
    MainForm->EditPerfNameSpeedButton->click();
    const QStringList renamed = {U("Алиса — Звезда — Снег\nГруппа крови")};
    EXPECT_EQ(resultsBecome(renamed), renamed);

    choosePerformer(U("Алиса"));
    modal.answer(Yes);
    MainForm->DelAvtSpeedButton->click();
    messages();  // the question asked
    EXPECT_EQ(resultsBecome({}), QStringList());
    EXPECT_EQ(SearchForm->StatusLabel->text(), U("Ничего не найдено"));

    // The deletion undone from the text pane's menu: the folder is back, and so are its songs.
    MainForm->UndoItem->trigger();
    EXPECT_EQ(resultsBecome(renamed), renamed);
    type(U("вечер"));
    EXPECT_EQ(results().size(), 1);
    EXPECT_EQ(messages(), QStringList());
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
    EXPECT_EQ(SearchIndexService->rebuilds(), 0);
    find(U("вечер"));  // the results come once the index is built anew, without a message
    EXPECT_EQ(resultsBecome(QStringList({U("Ария — Герой — Закат\nВечер тихий")})),
              QStringList({U("Ария — Герой — Закат\nВечер тихий")}));
    EXPECT_EQ(SearchIndexService->rebuilds(), 1);
    EXPECT_EQ(messages(), QStringList());
}

// 20 performers of 1,000 songs, each song's text "припев <number>".
void AddTwentyThousandSongs(const TempCatalogue& cat) {
    for (int p = 0; p < 20; ++p) {
        QByteArray songs = W("Альбом##-**~\r\n"), texts;
        for (int s = 0; s < 1000; ++s) {
            const QByteArray song = W("Песня ") + QByteArray::number(s);
            songs += song + "\r\n";
            texts += W("Альбом ##-**~ ") + song + W("\r\nприпев ") + QByteArray::number(s) +
                     "\r\nendsong\r\n";
        }
        cat.addPerformer(W("Хор ") + QByteArray::number(10 + p), W("Альбом\r\n"),
                         songs + "endalbum\r\n", texts);
    }
}

TEST_F(SearchWindowTest, WhileABigIndexIsBuiltTheResultsGrowAndTheTrueCountShows) {
    AddTwentyThousandSongs(cat);
    startWithSearch({}, false);
    SearchForm->Open();
    type(U("припев"));
    // What the window shows, looked at again and again until the index is built.
    QStringList statuses;
    const auto built = [&] {
        statuses << SearchForm->StatusLabel->text();
        return statuses.last() == U("Найдено песен: 20000");
    };
    ASSERT_TRUE(Eventually(built, 300000)) << statuses.join(u'|').toStdString();
    // Meanwhile: the songs done out of all, and the songs found among those indexed so far.
    const QRegularExpression indexing(
        U("^(?:(?:Найдено песен: (\\d+)|Ничего не найдено)\\. )?"
          "Индексирование: (\\d+) из 20003 песен$"));
    QSet<int> foundMeanwhile, doneMeanwhile;
    for (const QString& status : statuses) {
        const QRegularExpressionMatch m = indexing.match(status);
        if (!m.hasMatch()) continue;
        if (!m.captured(1).isEmpty()) foundMeanwhile << m.captured(1).toInt();
        doneMeanwhile << m.captured(2).toInt();
    }
    EXPECT_GE(doneMeanwhile.size(), 2) << statuses.join(u'|').toStdString();
    EXPECT_TRUE(std::any_of(foundMeanwhile.begin(), foundMeanwhile.end(), [](int found) {
        return found > 0 && found < 20000;
    })) << statuses.join(u'|').toStdString();
    // The first hundred are listed, in the catalogue's order; the count is of them all.
    const QStringList listed = results();
    ASSERT_EQ(listed.size(), 100);
    EXPECT_EQ(listed.first(), U("Хор 10 — Альбом — Песня 0\nприпев 0"));
    EXPECT_EQ(listed.last(), U("Хор 10 — Альбом — Песня 99\nприпев 99"));
}

TEST_F(SearchWindowTest, AnUnwritableCacheFolderStillGivesResults) {
    startWithSearch(cat.path(QStringLiteral("Data/performers.lrx/cache")));
    EXPECT_TRUE(SearchIndexService->inMemory());
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
