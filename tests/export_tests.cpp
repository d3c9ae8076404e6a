// Export of a performer as a folder of text files, and the scanner reading it back.
#include <gtest/gtest.h>

#include "import/PerformerExport.h"
#include "import/SongScan.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/StoreError.h"
#include "tests/helpers/ScanInto.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

class Export : public ::testing::Test {
  protected:
    void SetUp() override { cat.mkdir(QStringLiteral("out")); }
    void TearDown() override { fileio::clearFaults(); }
    ExportOutcome exportKino() {
        return ExportPerformer(cat.startDir(), W("Кино"), cat.path(QStringLiteral("out")));
    }
    TempCatalogue cat;
};

TEST_F(Export, ScanningTheExportGivesThePerformerBack) {
    // In the scanner's order: natural for albums, songs within an album as well.
    const QByteArray albums = W("Альбом 2\r\nАльбом 10\r\nПустой\r\n");
    const QByteArray songs =
        W("Альбом 2##-**~\r\n.тихая\r\nЗвезда\r\nКукушка\r\nendalbum\r\n"
          "Альбом 10##-**~\r\nТишина\r\nendalbum\r\nПустой##-**~\r\nendalbum\r\n");
    const QByteArray texts =
        W("Альбом 2 ##-**~ .тихая\r\nendsong\r\nАльбом 2 ##-**~ Звезда\r\nБелый снег, серый "
          "лёд,\r\n\r\nНа растрескавшейся "
          "земле.\r\nendsong\r\nАльбом 2 ##-**~ Кукушка\r\nПесен ещё ненаписанных — "
          "сколько?\r\nendsong\r\n"
          "Альбом 10 ##-**~ Тишина\r\nquiet\r\nendsong\r\n");
    cat.addPerformer(W("Кино"), albums, songs, texts);
    cat.write(QStringLiteral("Data/Кино/Image/Альбом 10.jpg"), SmallJpeg(4, 4));

    const ExportOutcome outcome = exportKino();
    EXPECT_EQ(outcome.performerFolder, cat.path(QStringLiteral("out/Кино")));
    EXPECT_EQ(ExportReport(outcome),
              U("Исполнитель выгружен в папку ") + outcome.performerFolder + u'.');
    EXPECT_EQ(cat.read(QStringLiteral("out/Кино/Альбом 2/Звезда.txt")),
              U("Белый снег, серый лёд,\n\nНа растрескавшейся земле.\n").toUtf8());
    EXPECT_EQ(cat.read(QStringLiteral("out/Кино/Альбом 2/.тихая.txt")), QByteArray());
    EXPECT_EQ(cat.read(QStringLiteral("out/Кино/Альбом 10/cover.jpg")), SmallJpeg(4, 4));
    EXPECT_TRUE(fileio::isDir(cat.path(QStringLiteral("out/Кино/Пустой"))));

    cat.addPerformer(W("Копия"));
    ScanInto(cat, W("Копия"), outcome.performerFolder);
    EXPECT_EQ(cat.read(QStringLiteral("Data/Копия/Albums.lrx")), albums);
    EXPECT_EQ(cat.read(QStringLiteral("Data/Копия/Songs.lrx")), songs);
    EXPECT_EQ(cat.read(QStringLiteral("Data/Копия/Texts.lrx")), texts);
}

TEST_F(Export, NamesAreMadeFitAndNothingIsOverwritten) {
    cat.addPerformer(W("Кино"), W("a/b\r\n..\r\na_b\r\n"),
                     W("a/b##-**~\r\nx/y\r\nx_y\r\ncover.jpg\r\nendalbum\r\n..##-**~\r\n.."
                       "\r\nendalbum\r\n"),
                     "a/b ##-**~ x/y\r\nslash\r\nendsong\r\n");
    const ExportOutcome outcome = exportKino();
    EXPECT_EQ(ExportReport(outcome),
              U("Исполнитель выгружен в папку ") + outcome.performerFolder +
                  U(".\rИмена, которые нельзя дать файлам, изменены:\r"
                    "a/b → a_b\rx/y → x_y\rx_y → x_y (2)\r.. → __\ra_b → a_b (2)"));
    EXPECT_EQ(SnapshotTree(outcome.performerFolder),
              (QMap<QString, QByteArray>{{"a_b/", "d"},
                                         {"a_b/x_y.txt", "f:slash\n"},
                                         {"a_b/x_y (2).txt", "f:"},
                                         {"a_b/cover.jpg.txt", "f:"},
                                         {"__/", "d"},
                                         {"__/...txt", "f:"},
                                         {"a_b (2)/", "d"}}));

    // A second export finds its folder there and writes nothing.
    const auto before = SnapshotTree(cat.path(QStringLiteral("out")));
    try {
        exportKino();
        ADD_FAILURE() << "an existing folder was written into";
    } catch (const ExportRefused& e) {
        EXPECT_EQ(e.message(), U("Папка ") + outcome.performerFolder +
                                   U(" уже существует.\rЭкспорт отменён, ничего не записано."));
    }
    EXPECT_EQ(SnapshotTree(cat.path(QStringLiteral("out"))), before);

    // A write that fails half-way takes back what the export wrote.
    fileio::removeDir(cat.path(QStringLiteral("out/Кино/a_b (2)")));
    for (const char* f : {"a_b/x_y.txt", "a_b/x_y (2).txt", "a_b/cover.jpg.txt", "__/...txt"})
        fileio::removeFile(outcome.performerFolder + u'/' + QString::fromUtf8(f));
    for (const char* d : {"a_b", "__", ""})
        fileio::removeDir(outcome.performerFolder + u'/' + QString::fromUtf8(d));
    fileio::failOn({fileio::Op::Write, QStringLiteral("x_y (2).txt"), ENOSPC});
    EXPECT_THROW(exportKino(), StoreError);
    EXPECT_EQ(SnapshotTree(cat.path(QStringLiteral("out"))), (QMap<QString, QByteArray>{}));
}

TEST_F(Export, NamesAUsbStickCannotHoldAreChangedAndListed) {
    const auto ya = [](int n) { return QString(n, u'я'); };
    struct Row {
        QString album, song;     // no song: an album without songs
        QString onDisk, listed;  // listed: the entry of the report, when the name changed
    };
    const Row rows[] = {
        {U("Концерт: \"Live\" <1990> | Best?*\\"),
         {},
         U("Концерт_ _Live_ _1990_ _ Best___/"),
         U("Концерт: \"Live\" <1990> | Best?*\\ → Концерт_ _Live_ _1990_ _ Best___")},
        {U("Альбом. "), {}, U("Альбом__/"), U("Альбом.  → Альбом__")},
        {U("Сборник"), U("Звезда"), U("Сборник/Звезда.txt"), {}},
        {U("Сборник"), U("ЗВЕЗДА"), U("Сборник/ЗВЕЗДА (2).txt"), U("ЗВЕЗДА → ЗВЕЗДА (2)")},
        {U("Сборник"), U("Why."), U("Сборник/Why..txt"), {}},
        // 260 bytes in UTF-8: cut to 244 (248 with ".txt", as a file is written under its name
        // and 7 bytes more first), and to 240 where " (2)" has to fit as well.
        {U("Сборник"), ya(130), U("Сборник/") + ya(122) + U(".txt"), ya(130) + U(" → ") + ya(122)},
        {U("Сборник"), ya(125) + U("ююююю"), U("Сборник/") + ya(120) + U(" (2).txt"),
         ya(125) + U("ююююю → ") + ya(120) + U(" (2)")},
        {U("СБОРНИК"), {}, U("СБОРНИК (2)/"), U("СБОРНИК → СБОРНИК (2)")},
    };
    QByteArray albums, songs;
    QMap<QString, QByteArray> tree{{U("Сборник/"), "d"}};
    QString report;
    for (const Row& row : rows) {
        const QByteArray album = cp1251::encode(row.album).bytes;
        if (!albums.contains(album + "\r\n")) albums += album + "\r\n";
        if (!row.song.isEmpty())
            songs += album + "##-**~\r\n" + cp1251::encode(row.song).bytes + "\r\nendalbum\r\n";
        tree.insert(row.onDisk, row.onDisk.endsWith(u'/') ? "d" : "f:");
        if (!row.listed.isEmpty()) report += u'\r' + row.listed;
    }
    cat.addPerformer(W("Кино"), albums, songs);
    const ExportOutcome outcome = exportKino();
    EXPECT_EQ(SnapshotTree(outcome.performerFolder), tree);
    EXPECT_EQ(ExportReport(outcome), U("Исполнитель выгружен в папку ") + outcome.performerFolder +
                                         U(".\rИмена, которые нельзя дать файлам, изменены:") +
                                         report);
}

}  // namespace
