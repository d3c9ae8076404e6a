// The file work of the editors and of performer deletion, on real bytes without a window.
#include <gtest/gtest.h>

#include <QDir>
#include <cerrno>

#include "store/Editing.h"
#include "store/FileIo.h"
#include "store/StoreError.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

struct FaultGuard {
    ~FaultGuard() { fileio::clearFaults(); }
};

const QString kList = QStringLiteral("Data/performers.lrx");

}  // namespace

TEST(PerformerNames, TrailingBlanksAndStorableNames) {
    EXPECT_EQ(WithoutTrailingBlanks("Abc   "), QByteArray("Abc"));
    EXPECT_EQ(WithoutTrailingBlanks("  Abc\t "), QByteArray("  Abc\t"));
    EXPECT_EQ(WithoutTrailingBlanks("   "), QByteArray());
    EXPECT_TRUE(IsStorablePerformerName(W("Кино")));
    EXPECT_TRUE(IsStorablePerformerName("..."));
    for (const char* bad :
         {"", ".", "..", "a/b", "a\\b", "a:b", "a*", "a?", "a\"", "<a", "a>", "a|b"})
        EXPECT_FALSE(IsStorablePerformerName(bad)) << bad;
    EXPECT_FALSE(IsStorablePerformerName(QByteArray("a\0b", 3)));
}

TEST(AddPerformer, RewritesTheListAndCreatesAnEmptyFolder) {
    TempCatalogue cat;
    cat.addPerformer(W("Кино"), "x\r\n");
    AddPerformer(cat.startDir(), {W("Кино"), "abc"}, "abc");
    EXPECT_EQ(cat.read(kList), W("Кино") + "\r\nabc\r\n");
    for (const char* file : {"Albums.lrx", "Songs.lrx", "Texts.lrx"})
        EXPECT_EQ(cat.read(QStringLiteral("Data/abc/") + file), QByteArray()) << file;
    EXPECT_TRUE(fileio::isDir(cat.path("Data/abc/Image")));

    // A folder left over from an earlier run: the list is written, the old files stay.
    cat.write("Data/old/Albums.lrx", "A\r\n");
    EXPECT_THROW(AddPerformer(cat.startDir(), {W("Кино"), "abc", "old"}, "old"), StoreError);
    EXPECT_EQ(cat.read(kList), W("Кино") + "\r\nabc\r\nold\r\n");
    EXPECT_EQ(cat.read("Data/old/Albums.lrx"), QByteArray("A\r\n"));

    // A name that would leave its folder is refused before the list is touched.
    for (const char* bad : {"..", "a:b", "x/y"})
        EXPECT_THROW(AddPerformer(cat.startDir(), {bad}, bad), StoreNameError) << bad;
    EXPECT_EQ(cat.read(kList), W("Кино") + "\r\nabc\r\nold\r\n");
}

TEST(AddPerformer, FailureTakesAwayWhatItMadeAndLeavesTheListAlone) {
    TempCatalogue cat;
    cat.addPerformer(W("Кино"), "x\r\n");
    const auto before = cat.snapshot();
    for (long n = 1;; ++n) {
        fileio::failAt(n, ENOSPC, fileio::FaultMode::Once);
        bool listed = false, thrown = false;
        try {
            AddPerformer(cat.startDir(), {W("Кино"), "abc"}, "abc", &listed);
        } catch (const StoreError&) {
            thrown = true;
        }
        // The last failure point, the flush of the folder after the list's rename, is outlived.
        if (fileio::faultsInjected() == 0 || !thrown) break;
        fileio::clearFaults();
        EXPECT_FALSE(listed) << n;
        EXPECT_EQ(cat.snapshot(), before) << n;
    }
    fileio::clearFaults();
    EXPECT_EQ(cat.read(kList), W("Кино") + "\r\nabc\r\n");
}

TEST(SaveAlbumList, GivesEveryAlbumWithoutHeaderLineAnEmptyBlock) {
    TempCatalogue cat;
    const QByteArray songs = "Old##-**~\r\nLove song\r\nendalbum\r\n";
    cat.addPerformer("P", "Old\r\n", songs, "t\r\n");
    SaveAlbumList(cat.startDir(), "P", {"AB", "A", " ", "Love", "Old", "A"});
    EXPECT_EQ(cat.read("Data/P/Albums.lrx"), QByteArray("AB\r\nA\r\n \r\nLove\r\nOld\r\nA\r\n"));
    // AB's header holds "A" and a song holds "Love": both still get their own block; A
    // listed twice gets one.
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"),
              songs +
                  "AB##-**~\r\nendalbum\r\nA##-**~\r\nendalbum\r\n"
                  " ##-**~\r\nendalbum\r\nLove##-**~\r\nendalbum\r\n");
    EXPECT_EQ(cat.read("Data/P/Texts.lrx"), QByteArray("t\r\n"));

    // Unchanged albums: the album list is written again, the song list file not at all.
    const QByteArray before = cat.read("Data/P/Songs.lrx");
    FaultGuard guard;
    fileio::clearFaults();
    WriteRecordFile(cat.path("scratch"), {});
    ReadRecordFile(cat.path("scratch"));
    fileio::failAt(fileio::callsMade() + 1, EIO, fileio::FaultMode::FromThenOn);
    SaveAlbumList(cat.startDir(), "P", {"Old", "AB"});
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"), before);
    EXPECT_EQ(cat.read("Data/P/Albums.lrx"), QByteArray("Old\r\nAB\r\n"));
}

TEST(SaveAlbumList, NewBlocksStartOnTheirOwnLine) {
    TempCatalogue cat;
    cat.addPerformer("P", "", "X##-**~\r\nendalbum");  // no line end after the last line
    SaveAlbumList(cat.startDir(), "P", {"X", "Y"});
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"),
              QByteArray("X##-**~\r\nendalbum\r\nY##-**~\r\nendalbum\r\n"));
    cat.write("Data/P/Songs.lrx", "X##-**~\r\nendalbum\r\n\x1a");
    SaveAlbumList(cat.startDir(), "P", {"X", "Z"});
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"),
              QByteArray("X##-**~\r\nendalbum\r\nZ##-**~\r\nendalbum\r\n"));
}

TEST(SaveAlbumList, MissingSongListEndsAfterTheAlbumList) {
    TempCatalogue cat;
    cat.write("Data/P/Albums.lrx", "A\r\n");
    EXPECT_THROW(SaveAlbumList(cat.startDir(), "P", {"B"}), StoreReadError);
    EXPECT_EQ(cat.read("Data/P/Albums.lrx"), QByteArray("B\r\n"));
    EXPECT_FALSE(cat.exists("Data/P/Songs.lrx"));
}

TEST(SaveSongList, MovesTheBlockToTheEnd) {
    TempCatalogue cat;
    cat.addPerformer("P", "",
                     "X##-**~\r\nx\r\nendalbum\r\nstray\r\nY##-**~\r\ny\r\nendalbum\r\n"
                     "Z##-**~\r\nz\r\nendalbum\r\n");
    SaveSongList(cat.startDir(), "P", "Y", {"y", "", " new"});
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"),
              QByteArray("X##-**~\r\nx\r\nendalbum\r\nstray\r\nZ##-**~\r\nz\r\nendalbum\r\n"
                         "Y##-**~\r\ny\r\n\r\n new\r\nendalbum\r\n"));

    // Two adjacent blocks of one album: the second's header is the line not examined.
    cat.write("Data/P/Songs.lrx", "Y##-**~\r\na\r\nendalbum\r\nY##-**~\r\nb\r\nendalbum\r\n");
    SaveSongList(cat.startDir(), "P", "Y", {});
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"),
              QByteArray("Y##-**~\r\nb\r\nendalbum\r\nY##-**~\r\nendalbum\r\n"));

    // A block without its end line runs to the end of the file.
    cat.write("Data/P/Songs.lrx", "X##-**~\r\nendalbum\r\nY##-**~\r\na\r\nZ##-**~\r\nz\r\n");
    SaveSongList(cat.startDir(), "P", "Y", {"n"});
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"),
              QByteArray("X##-**~\r\nendalbum\r\nY##-**~\r\nn\r\nendalbum\r\n"));

    // An album without a block gets its first one; an empty file too.
    cat.write("Data/P/Songs.lrx", "");
    SaveSongList(cat.startDir(), "P", W("Альбом"), {W("Песня")});
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"), W("Альбом##-**~\r\nПесня\r\nendalbum\r\n"));
}

TEST(SaveSongList, RefusesEndLinesAndKeepsTheFileOnFailure) {
    TempCatalogue cat;
    const QByteArray songs = "Y##-**~\r\ny\r\nendalbum\r\n";
    cat.addPerformer("P", "", songs);
    EXPECT_THROW(SaveSongList(cat.startDir(), "P", "Y", {"a", "endalbum", "b"}), StoreError);
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"), songs);
    SaveSongList(cat.startDir(), "P", "Y", {"endalbum ", "endsong"});  // not end lines here
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"),
              QByteArray("Y##-**~\r\nendalbum \r\nendsong\r\nendalbum\r\n"));

    FaultGuard guard;
    const QByteArray before = cat.read("Data/P/Songs.lrx");
    for (long n = 1; n <= 4; ++n) {
        fileio::failAt(n, ENOSPC, fileio::FaultMode::Once);
        EXPECT_THROW(SaveSongList(cat.startDir(), "P", "Y", {"new"}), StoreError) << n;
        EXPECT_EQ(cat.read("Data/P/Songs.lrx"), before) << n;
    }
}

TEST(SaveSongText, MovesTheTextBlockToTheEnd) {
    TempCatalogue cat;
    const QByteArray texts =
        "A ##-**~ One\r\none\r\nendsong\r\nA ##-**~ Two\r\ntwo\r\nendsong\r\n"
        "A ##-**~ Three\r\nthree\r\nendsong\r\n";
    cat.addPerformer("P", "", "", texts);
    SaveSongText(cat.startDir(), "P", "A", "Two", {});
    EXPECT_EQ(cat.read("Data/P/Texts.lrx"),
              QByteArray("A ##-**~ One\r\none\r\nendsong\r\nA ##-**~ Three\r\nthree\r\nendsong\r\n"
                         "A ##-**~ Two\r\nendsong\r\n"));

    cat.write("Data/P/Texts.lrx", "A ##-**~ S\r\nla\r\nendsong\r\nB ##-**~ S\r\nlo\r\nendsong\r\n");
    SaveSongText(cat.startDir(), "P", "A", "S", {"la", "", "endsong "});
    EXPECT_EQ(cat.read("Data/P/Texts.lrx"),
              QByteArray("B ##-**~ S\r\nlo\r\nendsong\r\nA ##-**~ S\r\nla\r\n\r\nendsong \r\n"
                         "endsong\r\n"));
    const QByteArray before = cat.read("Data/P/Texts.lrx");
    EXPECT_THROW(SaveSongText(cat.startDir(), "P", "A", "S", {"endsong"}), StoreError);
    EXPECT_EQ(cat.read("Data/P/Texts.lrx"), before);
}

TEST(DeletePerformer, RewritesTheListThenRemovesFilesAndTwoFoldersOnly) {
    TempCatalogue cat;
    cat.addPerformer("A");
    cat.addPerformer(W("Бэнд"), "x\r\n", "y\r\n", "z\r\n");
    cat.addPerformer("C");
    cat.write(QStringLiteral("Data/") + U("Бэнд") + "/Image/a.jpg", "jpeg");
    cat.write(QStringLiteral("Data/") + U("Бэнд") + "/.hidden", "h");
    EXPECT_TRUE(DeletePerformer(cat.startDir(), {"A", "C"}, W("Бэнд")));
    EXPECT_EQ(cat.read(kList), QByteArray("A\r\nC\r\n"));
    EXPECT_FALSE(cat.exists(QStringLiteral("Data/") + U("Бэнд")));

    // A sub-folder the user put there survives, and with it the performer folder.
    cat.write("Data/C/Lyrics/keep.txt", "keep");
    EXPECT_FALSE(DeletePerformer(cat.startDir(), {"A"}, "C"));
    EXPECT_EQ(cat.read(kList), QByteArray("A\r\n"));
    EXPECT_EQ(cat.read("Data/C/Lyrics/keep.txt"), QByteArray("keep"));
    EXPECT_FALSE(cat.exists("Data/C/Albums.lrx"));
    EXPECT_FALSE(cat.exists("Data/C/Image"));

    // No picture folder: the list entry goes, the record files stay.
    cat.addPerformer("D", "d\r\n");
    QDir(cat.path("Data/D/Image")).removeRecursively();
    EXPECT_FALSE(DeletePerformer(cat.startDir(), {"A", "C"}, "D"));
    EXPECT_EQ(cat.read("Data/D/Albums.lrx"), QByteArray("d\r\n"));

    // The only performer: a zero-length list.
    EXPECT_TRUE(DeletePerformer(cat.startDir(), {}, "A"));
    EXPECT_EQ(cat.read(kList), QByteArray());

    // A name that would address the data folder itself never reaches the file system.
    for (const char* bad : {"", ".", ".."})
        EXPECT_THROW(DeletePerformer(cat.startDir(), {"C"}, bad), StoreNameError) << bad;
    EXPECT_EQ(cat.read(kList), QByteArray());
    EXPECT_TRUE(cat.exists("Data/C/Lyrics/keep.txt"));
}

TEST(DeletePerformer, FailedListRewriteTouchesNoFolder) {
    TempCatalogue cat;
    cat.addPerformer("A", "a\r\n");
    cat.addPerformer("B");
    FaultGuard guard;
    fileio::failAt(1, ENOSPC, fileio::FaultMode::Once);
    EXPECT_THROW(DeletePerformer(cat.startDir(), {"B"}, "A"), StoreError);
    EXPECT_EQ(cat.read(kList), QByteArray("A\r\nB\r\n"));
    EXPECT_EQ(cat.read("Data/A/Albums.lrx"), QByteArray("a\r\n"));
}
