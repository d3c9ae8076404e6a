// Renaming albums, performers and songs in the files, without a window: the bytes on disk.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "store/FileIo.h"
#include "store/Renaming.h"
#include "store/StoreError.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

struct FaultGuard {
    ~FaultGuard() { fileio::clearFaults(); }
};

const QByteArray kPerf = W("Кино");
const QString kFolder = U("Data/Кино/");

// Album A next to album AB, whose headers begin with the same letter.
void layAlbums(const TempCatalogue& cat) {
    cat.addPerformer(kPerf, "A\r\nAB\r\nA\r\n",
                     "A##-**~\r\none\r\nA##-**~\r\nendalbum\r\n"
                     "AB##-**~\r\none\r\nendalbum\r\n"
                     "A##-**~\r\ntwo\r\nendalbum\r\n",
                     "A ##-**~ one\r\nA ##-**~ text A\r\nendsong\r\n"
                     "AB ##-**~ one\r\ntext AB\r\nendsong\r\n"
                     "A ##-**~\r\nA ##-**\r\nendsong\r\n");
}

}  // namespace

TEST(RenameAlbumFiles, ChangesOnlyTheOldAlbumsLinesAndCarriesThePicture) {
    TempCatalogue cat;
    layAlbums(cat);
    cat.write(kFolder + "Image/A.jpg", "picture A");
    cat.write(kFolder + "Image/AB.jpg", "picture AB");
    AlbumRename r;
    RenameAlbum(cat.startDir(), kPerf, "A", W("Ц"), r);
    EXPECT_TRUE(r.albumListWritten && r.songListRead && r.textsRead && r.pictureRenamed);
    EXPECT_EQ(r.albumList, (Lines{W("Ц"), "AB", W("Ц")}));  // an album listed twice
    EXPECT_EQ(cat.read(kFolder + "Albums.lrx"), W("Ц\r\nAB\r\nЦ\r\n"));
    // A header line inside a block is replaced too: every line equal to the header changes.
    EXPECT_EQ(cat.read(kFolder + "Songs.lrx"), W("Ц##-**~\r\none\r\nЦ##-**~\r\nendalbum\r\n"
                                                 "AB##-**~\r\none\r\nendalbum\r\n"
                                                 "Ц##-**~\r\ntwo\r\nendalbum\r\n"));
    // Every line beginning with "A ##-**~" takes the new album name, an empty song part
    // included; "AB ##-**~" and the shorter "A ##-**" do not match.
    EXPECT_EQ(cat.read(kFolder + "Texts.lrx"), W("Ц ##-**~ one\r\nЦ ##-**~ text A\r\nendsong\r\n"
                                                 "AB ##-**~ one\r\ntext AB\r\nendsong\r\n"
                                                 "Ц ##-**~\r\nA ##-**\r\nendsong\r\n"));
    EXPECT_FALSE(cat.exists(kFolder + "Image/A.jpg"));
    EXPECT_EQ(cat.read(kFolder + U("Image/Ц.jpg")), "picture A");
    EXPECT_EQ(cat.read(kFolder + "Image/AB.jpg"), "picture AB");
}

TEST(RenameAlbumFiles, PictureNeverReplacesAnotherAndMayBeMissing) {
    TempCatalogue cat;
    layAlbums(cat);
    cat.write(kFolder + "Image/A.jpg", "picture A");
    cat.write(kFolder + "Image/C.jpg", "stale C");
    AlbumRename taken;
    RenameAlbum(cat.startDir(), kPerf, "A", "C", taken);
    EXPECT_FALSE(taken.pictureRenamed);
    EXPECT_EQ(cat.read(kFolder + "Image/A.jpg"), "picture A");
    EXPECT_EQ(cat.read(kFolder + "Image/C.jpg"), "stale C");
    EXPECT_EQ(cat.read(kFolder + "Albums.lrx"), "C\r\nAB\r\nC\r\n");

    AlbumRename none;
    RenameAlbum(cat.startDir(), kPerf, "AB", "ab", none);  // letter case only
    EXPECT_FALSE(none.pictureRenamed);
    EXPECT_EQ(cat.read(kFolder + "Albums.lrx"), "C\r\nab\r\nC\r\n");
    EXPECT_EQ(cat.read(kFolder + "Texts.lrx").count("ab ##-**~ one\r\ntext AB\r\n"), 1);
}

TEST(RenameAlbumFiles, AFailureStopsAtItsFileAndLeavesEveryFileWhole) {
    TempCatalogue done;
    layAlbums(done);
    done.write(kFolder + "Image/A.jpg", "picture A");
    AlbumRename ok;
    RenameAlbum(done.startDir(), kPerf, "A", "C", ok);
    const auto after = done.snapshot();
    std::vector<fileio::Fault> faults{{fileio::Op::Rename, "Image/A.jpg"}};
    for (const char* file : {"Albums.lrx", "Songs.lrx", "Texts.lrx"})
        for (fileio::Op op : {fileio::Op::Open, fileio::Op::Write, fileio::Op::Flush,
                              fileio::Op::Close, fileio::Op::Rename})
            faults.push_back({op, file});
    for (fileio::Fault fault : faults) {
        for (fileio::FaultMode mode : {fileio::FaultMode::Once, fileio::FaultMode::FromThenOn}) {
            const std::string at = std::to_string(int(fault.op)) + " " + fault.path.toStdString();
            TempCatalogue cat;
            layAlbums(cat);
            cat.write(kFolder + "Image/A.jpg", "picture A");
            const auto before = cat.snapshot();
            FaultGuard guard;
            fault.mode = mode;
            fileio::failOn(fault);
            AlbumRename r;
            EXPECT_THROW(RenameAlbum(cat.startDir(), kPerf, "A", "C", r), StoreError) << at;
            fileio::clearFaults();
            if (mode == fileio::FaultMode::Once) {
                EXPECT_EQ(cat.snapshot(), before) << at;
            }
            for (const QString file : {"Albums.lrx", "Songs.lrx", "Texts.lrx"}) {
                const QByteArray now = cat.read(kFolder + file);
                EXPECT_TRUE(now == before.value(kFolder + file) ||
                            now == after.value(kFolder + file))
                    << file.toStdString() << " at " << at;
            }
            EXPECT_EQ(r.albumListWritten, cat.read(kFolder + "Albums.lrx").startsWith("C\r\n"));
        }
    }
}

TEST(RenamePerformerFiles, CarriesLineFilesAndJpegsByteForByte) {
    TempCatalogue cat;
    cat.addPerformer("First");
    const QByteArray albums("A\r\n\xff\x98\r\n", 8);
    const QByteArray songs = QByteArray("A##-**~\r\nx\r\nendalbum\r\n\x1a", 23);
    const QByteArray texts("no line end", 11);
    cat.addPerformer(kPerf, albums, songs, texts);
    cat.addPerformer("Last");
    cat.write(kFolder + "Image/A.jpg", QByteArray("\xff\xd8jpeg\0data", 11));
    cat.write(kFolder + "Image/Upper.JPG", "upper");
    cat.write(kFolder + "Image/notes.txt", "not a picture");
    cat.write(kFolder + "Image/Thumbs.db", "cache");
    PerformerRename r;
    RenamePerformer(cat.startDir(), kPerf, W("Ария"), {"First", kPerf, "Last"}, r);
    EXPECT_EQ(r.folder, PerformerRename::Folder::Carried);
    EXPECT_EQ(r.performers, (Lines{"First", W("Ария"), "Last"}));
    EXPECT_EQ(cat.read("Data/performers.lrx"), W("First\r\nАрия\r\nLast\r\n"));
    EXPECT_FALSE(cat.exists(U("Data/Кино")));
    const QString now = U("Data/Ария/");
    EXPECT_EQ(cat.read(now + "Albums.lrx"), albums);
    EXPECT_EQ(cat.read(now + "Songs.lrx"), songs);
    EXPECT_EQ(cat.read(now + "Texts.lrx"), texts);
    EXPECT_EQ(cat.read(now + "Image/A.jpg"), QByteArray("\xff\xd8jpeg\0data", 11));
    EXPECT_EQ(cat.read(now + "Image/Upper.JPG"), "upper");
    EXPECT_FALSE(cat.exists(now + "Image/notes.txt"));
    EXPECT_FALSE(cat.exists(now + "Image/Thumbs.db"));
}

TEST(RenamePerformerFiles, ExtraEntriesKeepTheOldFolderWithThem) {
    TempCatalogue cat;
    cat.addPerformer(kPerf, "A\r\n", "", "");
    cat.write(kFolder + "readme.txt", "mine");
    cat.write(kFolder + "Image/sub/inner.jpg", "inner");
    cat.write(kFolder + "Image/A.jpg", "pic");
    PerformerRename r;
    RenamePerformer(cat.startDir(), kPerf, "New", {kPerf}, r);
    EXPECT_EQ(r.folder, PerformerRename::Folder::NotCarried);
    EXPECT_EQ(cat.read("Data/performers.lrx"), "New\r\n");
    EXPECT_EQ(cat.read("Data/New/Albums.lrx"), "A\r\n");
    EXPECT_EQ(cat.read("Data/New/Image/A.jpg"), "pic");
    EXPECT_FALSE(cat.exists(kFolder + "Albums.lrx"));
    EXPECT_EQ(cat.read(kFolder + "readme.txt"), "mine");
    EXPECT_EQ(cat.read(kFolder + "Image/sub/inner.jpg"), "inner");  // nothing recursive
}

TEST(RenamePerformerFiles, AnExistingFolderOfTheNewNameStopsBeforeAnyWrite) {
    TempCatalogue cat;
    cat.addPerformer(kPerf, "A\r\n", "", "");
    cat.write("Data/Other/Albums.lrx", "theirs\r\n");  // a folder not in the list
    const auto before = cat.snapshot();
    PerformerRename r;
    RenamePerformer(cat.startDir(), kPerf, "Other", {kPerf}, r);
    EXPECT_EQ(r.folder, PerformerRename::Folder::NewFolderExists);
    EXPECT_FALSE(r.listChecked);
    EXPECT_EQ(cat.snapshot(), before);
    RenamePerformer(cat.startDir(), kPerf, "performers.lrx", {kPerf}, r);
    EXPECT_EQ(r.folder, PerformerRename::Folder::NewFolderExists);
    EXPECT_EQ(cat.snapshot(), before);
}

TEST(RenamePerformerFiles, EveryFailureLeavesTheDataWholeInOneOfTheFolders) {
    const QMap<QString, QByteArray> originals{{"Albums.lrx", "A\r\n"},
                                              {"Songs.lrx", "A##-**~\r\ns\r\nendalbum\r\n"},
                                              {"Texts.lrx", "t\r\n"},
                                              {"Image/A.jpg", "pic"}};
    using fileio::Op;
    // Each step of the carrying: the new folders, each file's read and save, the list's save
    // up to its rename (the commit point), then the removal of the old files and folders.
    std::vector<fileio::Fault> faults{{Op::MakeDir, "New"},           {Op::MakeDir, "New/Image"},
                                      {Op::Write, "performers.lrx"},  {Op::Flush, "performers.lrx"},
                                      {Op::Rename, "performers.lrx"}, {Op::RemoveDir, "Image"},
                                      {Op::RemoveDir, U("Кино")}};
    for (const QString& file : originals.keys()) {
        for (Op op : {Op::Create, Op::Write, Op::Flush, Op::Close, Op::Rename})
            faults.push_back({op, "New/" + file});
        faults.push_back({Op::Open, U("Кино/") + file});
        faults.push_back({Op::Remove, U("Кино/") + file});
    }
    for (const fileio::Fault& fault : faults) {
        const std::string at = std::to_string(int(fault.op)) + " " + fault.path.toStdString();
        TempCatalogue cat;
        cat.addPerformer(kPerf, originals["Albums.lrx"], originals["Songs.lrx"],
                         originals["Texts.lrx"]);
        cat.write(kFolder + "Image/A.jpg", "pic");
        FaultGuard guard;
        fileio::failOn(fault);
        PerformerRename r;
        bool thrown = false;
        try {
            RenamePerformer(cat.startDir(), kPerf, "New", {kPerf}, r);
        } catch (const StoreError&) {
            thrown = true;
        }
        EXPECT_EQ(fileio::faultsInjected(), 1) << at;
        fileio::clearFaults();
        const QByteArray list = cat.read("Data/performers.lrx");
        EXPECT_EQ(thrown, !r.listReadBack) << at;
        EXPECT_EQ(list, thrown ? W("Кино\r\n") : QByteArray("New\r\n")) << at;
        for (const QString& file : originals.keys()) {
            const QByteArray original = originals.value(file);
            const bool inOld = cat.exists(kFolder + file), inNew = cat.exists("Data/New/" + file);
            EXPECT_TRUE(inOld || inNew) << file.toStdString() << " at " << at;
            EXPECT_TRUE(thrown ? !inNew : inNew) << file.toStdString() << " at " << at;
            if (inOld) {
                EXPECT_EQ(cat.read(kFolder + file), original) << at;
            }
            if (inNew) {
                EXPECT_EQ(cat.read("Data/New/" + file), original) << at;
            }
        }
        if (r.folder == PerformerRename::Folder::Carried) {
            EXPECT_FALSE(cat.exists(kFolder)) << at;
        }
    }
}

TEST(RenameSongFiles, OnlyTheSongOfThisAlbumInEveryBlockOfIt) {
    TempCatalogue cat;
    cat.addPerformer(kPerf, "A\r\nB\r\n",
                     "A##-**~\r\nsong\r\nother\r\nsong\r\nendalbum\r\n"
                     "song\r\n"  // a stray line between blocks
                     "B##-**~\r\nsong\r\nendalbum\r\n"
                     "A##-**~\r\nsong\r\n",  // a block without its end line
                     "A ##-**~ song\r\nsong\r\nendsong\r\n"
                     "B ##-**~ song\r\nB text\r\nendsong\r\n"
                     "A ##-**~ song\r\nsecond\r\nendsong\r\n");
    RenameSong(cat.startDir(), kPerf, "A", "song", W(" Песня/?* "));
    EXPECT_EQ(cat.read(kFolder + "Songs.lrx"),
              W("A##-**~\r\n Песня/?* \r\nother\r\n Песня/?* \r\nendalbum\r\n"
                "song\r\n"
                "B##-**~\r\nsong\r\nendalbum\r\n"
                "A##-**~\r\n Песня/?* \r\n"));
    EXPECT_EQ(cat.read(kFolder + "Texts.lrx"), W("A ##-**~  Песня/?* \r\nsong\r\nendsong\r\n"
                                                 "B ##-**~ song\r\nB text\r\nendsong\r\n"
                                                 "A ##-**~  Песня/?* \r\nsecond\r\nendsong\r\n"));
}

TEST(RenameSongFiles, ASongWithoutTextAndAFailedTextFile) {
    TempCatalogue cat;
    cat.addPerformer(kPerf, "A\r\n", "A##-**~\r\nsong\r\nendalbum\r\n", "stray\r\n");
    RenameSong(cat.startDir(), kPerf, "A", "song", "Song");
    EXPECT_EQ(cat.read(kFolder + "Songs.lrx"), "A##-**~\r\nSong\r\nendalbum\r\n");
    EXPECT_EQ(cat.read(kFolder + "Texts.lrx"), "stray\r\n");

    FaultGuard guard;
    // the song list is written, then the text file cannot be opened
    fileio::failOn({fileio::Op::Open, "Texts.lrx", EACCES});
    EXPECT_THROW(RenameSong(cat.startDir(), kPerf, "A", "Song", "s2"), StoreReadError);
    EXPECT_EQ(cat.read(kFolder + "Songs.lrx"), "A##-**~\r\nSong\r\nendalbum\r\n");
    EXPECT_EQ(cat.read(kFolder + "Texts.lrx"), "stray\r\n");
}

TEST(NewNames, RefusedBeforeAnythingIsWritten) {
    const Lines list{"A", "B "};
    EXPECT_EQ(CheckAlbumName("", list), NameProblem::Empty);
    EXPECT_EQ(CheckAlbumName("A", list), NameProblem::Duplicate);
    EXPECT_EQ(CheckAlbumName("B", list), NameProblem::None);
    EXPECT_EQ(CheckAlbumName("a", list), NameProblem::None);
    for (const char* bad : {"x\\y", "x/y", "x:y", "x*y", "x?y", "x\"y", "x<y", "x>y", "x|y"}) {
        EXPECT_EQ(CheckAlbumName(bad, list), NameProblem::PathCharacter) << bad;
        EXPECT_EQ(CheckPerformerName(bad, list), NameProblem::PathCharacter) << bad;
        EXPECT_EQ(CheckSongName(bad, list), NameProblem::None) << bad;
    }
    for (const char* dots : {".", ".."}) {
        EXPECT_EQ(CheckAlbumName(dots, list), NameProblem::DotName);
        EXPECT_EQ(CheckPerformerName(dots, list), NameProblem::DotName);
    }
    EXPECT_EQ(CheckPerformerName("...", list), NameProblem::None);
    for (const QByteArray& control :
         {QByteArray("a\nb"), QByteArray("a\rb"), QByteArray("a\x1a"), QByteArray("a\0b", 3)}) {
        EXPECT_EQ(CheckAlbumName(control, list), NameProblem::ControlCharacter);
        EXPECT_EQ(CheckSongName(control, list), NameProblem::ControlCharacter);
    }
    EXPECT_EQ(CheckSongName("endalbum", list), NameProblem::EndLine);
    EXPECT_EQ(CheckSongName("endalbum ", list), NameProblem::None);
    EXPECT_EQ(CheckSongName("", list), NameProblem::Empty);
    EXPECT_EQ(CheckSongName("B ", list), NameProblem::Duplicate);
    EXPECT_EQ(WithoutTrailingBlanks(" Abc \t  "), " Abc \t");
    EXPECT_EQ(WithoutTrailingBlanks("   "), "");
}
