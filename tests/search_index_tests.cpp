// The lyrics index on its own: what a search finds in a catalogue on disk, and how the index
// follows the files and survives a damaged or unwritable cache.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <QDir>
#include <QTemporaryDir>

#include "search/QueryTranslation.h"
#include "search/SearchIndex.h"
#include "store/Cp1251.h"
#include "tests/helpers/TempCatalogue.h"

// Two performers, three songs; the window tests search the same catalogue.
void AddTwoPerformers(const TempCatalogue& cat) {
    cat.addPerformer(W("Ария"), W("Герой\r\n"), W("Герой##-**~\r\nЗакат\r\nЁлка\r\nendalbum\r\n"),
                     W("Герой ##-**~ Закат\r\nВечер тихий\r\nСнегопад над ЁЛКОЙ\r\nendsong\r\n"
                       "Герой ##-**~ Ёлка\r\nПросто песня\r\nendsong\r\n"));
    cat.addPerformer(W("Кино"), W("Звезда\r\n"), W("Звезда##-**~\r\nСнег\r\nendalbum\r\n"),
                     W("Звезда ##-**~ Снег\r\nКрасная ночь\r\nendsong\r\n"));
}

namespace {

class SearchIndexTest : public ::testing::Test {
  protected:
    SearchIndexTest() { AddTwoPerformers(cat); }
    std::unique_ptr<SearchIndex> openIndex() {
        auto index = SearchIndex::open(cache.path(), cat.startDir());
        index->sync();
        return index;
    }
    // Each hit as "performer/album/song:line:shown with [marks]".
    static QStringList found(const SearchIndex& index, const QString& typed) {
        QStringList out;
        for (const SearchHit& hit : index.search(typed).hits) {
            QString shown = hit.shown;
            for (auto it = hit.marks.rbegin(); it != hit.marks.rend(); ++it) {
                shown.insert(it->first + it->second, u']');
                shown.insert(it->first, u'[');
            }
            out << QStringLiteral("%1/%2/%3:%4:%5")
                       .arg(cp1251::decode(hit.performer), cp1251::decode(hit.album),
                            cp1251::decode(hit.song))
                       .arg(hit.line)
                       .arg(shown);
        }
        return out;
    }
    TempCatalogue cat;
    QTemporaryDir cache;
};

}  // namespace

TEST_F(SearchIndexTest, FindsPrefixesWhateverTheCaseAndYoAndNamesFirst) {
    const auto index = openIndex();
    // "снег" starts "Снегопад" in a text and is the name of a song: the name ranks first.
    EXPECT_EQ(found(*index, U("снег")),
              QStringList(
                  {U("Кино/Звезда/Снег:-1:[Снег]"), U("Ария/Герой/Закат:1:[Снегопад] над ЁЛКОЙ")}));
    // ё and е, capitals and small letters are one; punctuation separates words.
    EXPECT_EQ(found(*index, U("ЕЛКОЙ,    снегоп!")),
              QStringList({U("Ария/Герой/Закат:1:[Снегопад] над [ЁЛКОЙ]")}));
    EXPECT_EQ(found(*index, U("ёлк")), QStringList({U("Ария/Герой/Ёлка:-1:[Ёлка]"),
                                                    U("Ария/Герой/Закат:1:Снегопад над [ЁЛКОЙ]")}));
    EXPECT_EQ(index->search(U("снег")).total, 2);
    // Every word must match, in the names or the text.
    EXPECT_EQ(found(*index, U("снег ночь")), QStringList({U("Кино/Звезда/Снег:0:Красная [ночь]")}));
    EXPECT_EQ(found(*index, U("снег вечер ночь")), QStringList());
    EXPECT_EQ(found(*index, U("красн ночь")),
              QStringList({U("Кино/Звезда/Снег:0:[Красная] [ночь]")}));
}

TEST_F(SearchIndexTest, QuotedTextIsAPhraseAndSyntaxIsOnlyText) {
    const auto index = openIndex();
    EXPECT_EQ(found(*index, U("\"снегопад над\"")).size(), 1);
    EXPECT_EQ(found(*index, U("\"над снегопад\"")), QStringList());
    EXPECT_EQ(found(*index, U("\"вечер тих")).size(), 1);  // a quote left open
    for (const char* typed : {"AND", "OR NOT", "NEAR(", "снег*", "-снег", "^снег", "names:снег",
                              "{body}", "\"", "\"\"\"", ")(", "+", "снег OR", "**"})
        EXPECT_NO_THROW(index->search(U(typed))) << typed;
    EXPECT_EQ(found(*index, U("снег*")).size(), 2);
    EXPECT_EQ(found(*index, U("")), QStringList());
    EXPECT_EQ(found(*index, U(" ,.; ")), QStringList());
}

TEST_F(SearchIndexTest, FollowsTheFiles) {
    auto index = openIndex();
    // A saved text: its new words are found, its old ones no longer.
    cat.write(QStringLiteral("Data/Кино/Texts.lrx"),
              W("Звезда ##-**~ Снег\r\nСтарое\r\nendsong\r\nЗвезда ##-**~ Снег\r\nГруппа "
                "крови\r\nendsong\r\n"));
    index->updatePerformer(W("Кино"));
    EXPECT_EQ(found(*index, U("крови")), QStringList({U("Кино/Звезда/Снег:1:Группа [крови]")}));
    EXPECT_EQ(found(*index, U("красная")), QStringList());
    // A renamed song is found under its new name; the old name is gone.
    cat.write(QStringLiteral("Data/Кино/Songs.lrx"), W("Звезда##-**~\r\nМетель\r\nendalbum\r\n"));
    cat.write(QStringLiteral("Data/Кино/Texts.lrx"),
              W("Звезда ##-**~ Метель\r\nГруппа крови\r\nendsong\r\n"));
    index->sync();
    EXPECT_EQ(found(*index, U("крови")), QStringList({U("Кино/Звезда/Метель:0:Группа [крови]")}));
    EXPECT_EQ(found(*index, U("снег")),
              QStringList({U("Ария/Герой/Закат:1:[Снегопад] над ЁЛКОЙ")}));
    // A performer no longer listed is gone.
    cat.write(QStringLiteral("Data/performers.lrx"), W("Кино\r\n"));
    index->sync();
    EXPECT_EQ(found(*index, U("вечер")), QStringList());
    EXPECT_EQ(index->songCount(), 1);
    // A listed performer whose folder went (an undo took it away) leaves; back, it returns.
    ASSERT_TRUE(QDir().rename(cat.path(U("Data/Кино")), cat.path(U("Кино"))));
    index->updatePerformer(W("Кино"));
    EXPECT_EQ(index->songCount(), 0);
    EXPECT_EQ(index->leftOut(), 0);
    ASSERT_TRUE(QDir().rename(cat.path(U("Кино")), cat.path(U("Data/Кино"))));
    index->updatePerformer(W("Кино"));
    EXPECT_EQ(index->songCount(), 1);
    // What was indexed stays for the next run.
    index.reset();
    index = SearchIndex::open(cache.path(), cat.startDir());
    EXPECT_EQ(found(*index, U("группа")).size(), 1);
}

TEST_F(SearchIndexTest, AnUnreadableFileLeavesItsPerformerOut) {
    QFile::remove(cat.path(QStringLiteral("Data/Кино/Texts.lrx")));
    const auto index = openIndex();
    EXPECT_EQ(index->leftOut(), 1);
    EXPECT_EQ(found(*index, U("красная")), QStringList());
    EXPECT_EQ(found(*index, U("вечер")).size(), 1);
}

TEST_F(SearchIndexTest, ADamagedOrOlderIndexIsBuiltAnewAndAnUnwritableCacheServesFromMemory) {
    const auto before = cat.snapshot();
    const QString file = IndexFilePath(cache.path(), cat.startDir());
    openIndex();
    ASSERT_TRUE(QFile::exists(file));
    for (const QByteArray& damage :
         {QByteArray("not a database at all, only some bytes"), QByteArray()}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(damage.isEmpty() ? QByteArray(4096, '\xff') : damage);
        f.close();
        const auto index = openIndex();
        EXPECT_FALSE(index->inMemory());
        EXPECT_EQ(found(*index, U("вечер")).size(), 1);
    }
    // An index of an earlier version of the program.
    QFile::remove(file);
    sqlite3* old = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &old), SQLITE_OK);
    sqlite3_exec(old, "CREATE TABLE songs(x); PRAGMA user_version = 1", nullptr, nullptr, nullptr);
    sqlite3_close(old);
    EXPECT_EQ(found(*openIndex(), U("вечер")).size(), 1);
    // Not even root can make a folder below a plain file.
    const QString blocked =
        cat.path(QStringLiteral("Data/Кино/Albums.lrx")) + QStringLiteral("/cache");
    auto index = SearchIndex::open(blocked, cat.startDir());
    index->sync();
    EXPECT_TRUE(index->inMemory());
    EXPECT_EQ(index->reader()->search(U("вечер")).hits.size(), 1u);
    EXPECT_EQ(cat.snapshot(), before);  // nothing was written below Data/
}

TEST_F(SearchIndexTest, SongsHaveTheTextThePaneShowsLineForLine) {
    // A song's text is every block of its header; a header line inside another song's block
    // is that song's text and opens its own block too, as each is read alone.
    cat.addPerformer("P", "A\r\n", "A##-**~\r\nS\r\nT\r\nendalbum\r\n",
                     W("A ##-**~ S\r\nпервая\r\nA ##-**~ T\r\nмедведь\r\nendsong\r\n"
                       "A ##-**~ S\r\nволк\r\nendsong\r\n"));
    const auto index = openIndex();
    EXPECT_EQ(found(*index, U("волк")), QStringList({U("P/A/S:3:[волк]")}));
    QStringList bear = found(*index, U("медв"));
    bear.sort();
    EXPECT_EQ(bear, QStringList({U("P/A/S:2:[медведь]"), U("P/A/T:0:[медведь]")}));
}
