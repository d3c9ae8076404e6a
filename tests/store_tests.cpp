// The catalogue files: reading rules, block collection, writer bytes, safe rewrites, names.
#include <gtest/gtest.h>

#include <cerrno>

#include "store/Catalogue.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/PerformerRepository.h"
#include "store/StoreError.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

Lines linesOf(const QByteArray& bytes) {
    return RecordLines(bytes).toList();
}

struct FaultGuard {
    ~FaultGuard() { fileio::clearFaults(); }
};

}  // namespace

TEST(ReadingRules, LineEndsCtrlZAndFinalLines) {
    EXPECT_EQ(linesOf(""), Lines{});
    EXPECT_EQ(linesOf("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(linesOf("a\nb\n"), (Lines{"a", "b"}));        // LF alone reads the same
    EXPECT_EQ(linesOf("a\r\nlast"), (Lines{"a", "last"}));  // last line without end
    EXPECT_EQ(linesOf("\r\n\r\n"), (Lines{"", ""}));        // no extra line at the end
    EXPECT_EQ(linesOf("x\ry\rz\r\n"), (Lines{"xyz"}));      // lone CRs are dropped
    EXPECT_EQ(linesOf("tail\r"), (Lines{"tail"}));
    EXPECT_EQ(linesOf("a\r\n\x1a"
                      "b\r\n"),
              (Lines{"a"}));  // Ctrl-Z at a line start
    EXPECT_EQ(linesOf("\x1a"), Lines{});
    EXPECT_EQ(linesOf("ab\x1a"
                      "cd\r\nnext\r\n"),
              (Lines{"ab", "next"}));  // inside a line
    EXPECT_EQ(linesOf("ab\x1a\r\n"), (Lines{"ab"}));
}

TEST(ReadingRules, BytesAreTakenAsTheyAre) {
    const QByteArray cyrillic = W("Кино");
    EXPECT_EQ(linesOf(cyrillic + QByteArray("\r\n\xff\x98\x00z\r\n", 8)),
              (Lines{cyrillic, QByteArray("\xff\x98\x00z", 4)}));
}

TEST(BlockCollection, FindsEveryBlockWithItsHeaderOnly) {
    const QByteArray file =
        "stray\r\n"
        "A##-**~\r\none\r\nA##-**~\r\n\r\nendalbum\r\n"  // a header line inside is a body line
        "A ##-**~\r\nnot this\r\nendalbum\r\n"           // a blank before the marker
        "a##-**~\r\nnor this\r\nendalbum\r\n"            // other letter case
        "between\r\n"
        "A##-**~\r\ntwo\r\nendalbum \r\nthree\r\nendalbum\r\n"  // "endalbum " ends nothing
        "A##-**~\r\nendalbum\r\n"                               // empty body
        "A##-**~\r\nfour\r\n";                                  // runs to the end
    EXPECT_EQ(CollectBlockBodies(RecordLines(file), SongBlockHeader("A"), kSongBlockEnd),
              (Lines{"one", "A##-**~", "", "two", "endalbum ", "three", "four"}));
    EXPECT_EQ(CollectBlockBodies(RecordLines(file), SongBlockHeader("B"), kSongBlockEnd), Lines{});
}

TEST(BlockCollection, HeadersOfBothFiles) {
    EXPECT_EQ(SongBlockHeader(""), QByteArray("##-**~"));
    EXPECT_EQ(TextBlockHeader("Alb", "Song"), QByteArray("Alb ##-**~ Song"));
    const QByteArray texts = "Alb ##-**~ Song\r\nla\r\nAlb ##-**~ Other\r\nendsong\r\n";
    EXPECT_EQ(CollectBlockBodies(RecordLines(texts), TextBlockHeader("Alb", "Song"), kTextBlockEnd),
              (Lines{"la", "Alb ##-**~ Other"}));
}

// A file as read finds its blocks by searching the buffer, and passes on its own bytes when
// they already are the written form of its lines; both answers must be the ones that going
// line by line gives, whatever the line ends, headers inside lines or Ctrl-Z.
TEST(BlockCollection, SearchingTheBufferAgreesWithGoingLineByLine) {
    const QByteArray pieces[] = {"A##-**~", "A",  "##-**~", "endalbum", "x", " ",
                                 "\r\n",    "\n", "\r",     "\x1a",     "",  "B##-**~A##-**~"};
    const QByteArray headers[] = {SongBlockHeader("A"), SongBlockHeader(""), "x", ""};
    quint32 seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 3000; ++round) {
        QByteArray file;
        const int count = int(next() % 24);
        for (int i = 0; i < count; ++i) file += pieces[next() % std::size(pieces)];
        ASSERT_EQ(RecordLines(file).joined(), JoinRecordLines(linesOf(file)))
            << "file: " << file.toPercentEncoding().constData();
        for (const QByteArray& header : headers) {
            const Lines expected = CollectBlockBodies(linesOf(file), header, kSongBlockEnd);
            ASSERT_EQ(CollectBlockBodies(RecordLines(file), header, kSongBlockEnd), expected)
                << "file: " << file.toPercentEncoding().constData()
                << " header: " << header.constData();
        }
    }
}

TEST(BlockRemoval, RemovesBlocksAndSkipsTheLineAfterEach) {
    Lines lines{"X##-**~", "x",  "endalbum", "Y##-**~", "y1",      "endalbum",
                "Y##-**~", "y2", "endalbum", "Z##-**~", "endalbum"};
    RemoveBlocksSkippingNext(lines, "Y##-**~", "endalbum");
    // The second Y block follows directly: its header is the line that is not examined.
    EXPECT_EQ(lines, (Lines{"X##-**~", "x", "endalbum", "Y##-**~", "y2", "endalbum", "Z##-**~",
                            "endalbum"}));
    Lines open{"a", "Y##-**~", "y", "more"};
    RemoveBlocksSkippingNext(open, "Y##-**~", "endalbum");
    EXPECT_EQ(open, Lines{"a"});
}

TEST(RecordWriter, WritesCrLfAfterEveryLineAndZeroBytesForNoLines) {
    TempCatalogue cat;
    const QString path = cat.path("f.lrx");
    WriteRecordFile(path, {"one", "", W("два")});
    EXPECT_EQ(cat.read("f.lrx"), QByteArray("one\r\n\r\n") + W("два") + "\r\n");
    WriteRecordFile(path, {});
    EXPECT_EQ(cat.read("f.lrx"), QByteArray());
    EXPECT_TRUE(cat.exists("f.lrx"));

    AppendRecordFile(path, {"x##-**~", "endalbum"});
    EXPECT_EQ(cat.read("f.lrx"), QByteArray("x##-**~\r\nendalbum\r\n"));
    EXPECT_THROW(AppendRecordFile(cat.path("missing.lrx"), {"x"}), StoreReadError);
    EXPECT_FALSE(cat.exists("missing.lrx"));
}

TEST(RecordWriter, FailedRewriteKeepsTheOldFileWhole) {
    TempCatalogue cat;
    FaultGuard guard;
    const QString path = cat.path("Texts.lrx");
    cat.write("Texts.lrx", "old\r\nlyrics\r\n");
    for (long n = 1; n <= 3; ++n) {
        for (int error : {ENOSPC, EIO, EACCES, EROFS}) {
            fileio::failAt(n, error, fileio::FaultMode::Once);
            try {
                WriteRecordFile(path, {"new"});
                ADD_FAILURE() << "fault " << n << " did not fail the rewrite";
            } catch (const StoreError& e) {
                EXPECT_EQ(e.error(), error);
            }
            EXPECT_EQ(cat.read("Texts.lrx"), QByteArray("old\r\nlyrics\r\n"));
        }
    }
    fileio::clearFaults();
    EXPECT_EQ(QDir(cat.startDir()).entryList(QDir::Files), QStringList{"Texts.lrx"});
    WriteRecordFile(path, {"new"});
    EXPECT_EQ(cat.read("Texts.lrx"), QByteArray("new\r\n"));
}

TEST(ReadErrors, MissingOrUnopenableFilesGiveReadErrors) {
    TempCatalogue cat;
    FaultGuard guard;
    EXPECT_THROW(ReadRecordFile(cat.path("none.lrx")), StoreReadError);
    cat.mkdir("dir.lrx");
    EXPECT_THROW(ReadRecordFile(cat.path("dir.lrx")), StoreReadError);
    cat.write("ok.lrx", "x\r\n");
    fileio::failAt(1, EACCES, fileio::FaultMode::Once);
    try {
        ReadRecordFile(cat.path("ok.lrx"));
        ADD_FAILURE();
    } catch (const StoreReadError& e) {
        EXPECT_EQ(e.description(), "File access denied");
    }
}

TEST(ErrorDescriptions, MatchTheGeneralReport) {
    EXPECT_EQ(StoreError(ENOENT, "p").description(), "File not found");
    EXPECT_EQ(StoreError(EACCES, "p").description(), "File access denied");
    EXPECT_EQ(StoreError(EINVAL, "p").description(), "Invalid filename");
    EXPECT_EQ(StoreError(ENOSPC, "p").description(), "I/O error 28");
}

TEST(Layout, PathsUseTheExactSpellings) {
    const QString s = "/start";
    EXPECT_EQ(PerformerStorePath(s, StoreEntry::PerformerList), "/start/Data/performers.lrx");
    EXPECT_EQ(PerformerStorePath(s, StoreEntry::Settings), "/start/Data/Settings.ini");
    const QByteArray p = W("Ария");
    EXPECT_EQ(PerformerStorePath(s, StoreEntry::AlbumList, p), U("/start/Data/Ария/Albums.lrx"));
    EXPECT_EQ(PerformerStorePath(s, StoreEntry::SongList, p), U("/start/Data/Ария/Songs.lrx"));
    EXPECT_EQ(PerformerStorePath(s, StoreEntry::TextFile, p), U("/start/Data/Ария/Texts.lrx"));
    EXPECT_EQ(PerformerStorePath(s, StoreEntry::PictureFolder, p), U("/start/Data/Ария/Image"));
    EXPECT_EQ(PerformerStorePath(s, StoreEntry::AlbumPicture, p, W("Герой асфальта ")),
              U("/start/Data/Ария/Image/Герой асфальта .jpg"));
}

TEST(Layout, NamesThatWouldLeaveTheirFolderAreRefused) {
    for (const QByteArray& bad : {QByteArray(""), QByteArray("."), QByteArray(".."),
                                  QByteArray("a/b"), QByteArray("../x"), QByteArray("a\0b", 3)}) {
        EXPECT_THROW(PerformerStorePath("/s", StoreEntry::PerformerFolder, bad), StoreNameError)
            << bad.toStdString();
    }
    EXPECT_THROW(PerformerStorePath("/s", StoreEntry::AlbumPicture, "P", "a/../../x"),
                 StoreNameError);
    EXPECT_EQ(PerformerStorePath("/s", StoreEntry::AlbumPicture, "P", ".."),
              "/s/Data/P/Image/...jpg");
}

TEST(PerformerFolder, CreatedInOrderAndNeverOverExistingOnes) {
    TempCatalogue cat;
    cat.mkdir("Data");
    FileSetChange change;
    CreatePerformerFolder(change, cat.startDir(), W("Кино"));
    for (const char* f : {"Albums.lrx", "Songs.lrx", "Texts.lrx"})
        EXPECT_EQ(cat.read(U("Data/Кино/") + f), QByteArray());
    EXPECT_TRUE(QFileInfo(cat.path(U("Data/Кино/Image"))).isDir());

    cat.write("Data/Old/Albums.lrx", "kept\r\n");
    EXPECT_THROW(CreatePerformerFolder(change, cat.startDir(), "Old"), StoreError);
    EXPECT_EQ(cat.read("Data/Old/Albums.lrx"), QByteArray("kept\r\n"));
    EXPECT_THROW(CreatePerformerFolder(change, cat.startDir(), ".."), StoreNameError);
    EXPECT_FALSE(cat.exists("Image"));

    // Undone, it takes away only what it made.
    EXPECT_TRUE(change.rollBack());
    EXPECT_FALSE(cat.exists(U("Data/Кино")));
    EXPECT_EQ(cat.read("Data/Old/Albums.lrx"), QByteArray("kept\r\n"));
}

TEST(StartUp, PerformerListIsMadeOnlyWhenMissing) {
    TempCatalogue cat;
    EnsurePerformerList(cat.startDir());
    EXPECT_EQ(cat.read("Data/performers.lrx"), QByteArray());
    cat.write("Data/performers.lrx", "A\r\n");
    EnsurePerformerList(cat.startDir());
    EXPECT_EQ(cat.read("Data/performers.lrx"), QByteArray("A\r\n"));
    EXPECT_EQ(PerformerRepository(cat.startDir()).readPerformerList().toList(), Lines{"A"});
}

TEST(FileOperations, NeverReplaceNeverRecurse) {
    TempCatalogue cat;
    cat.write("a.jpg", "A");
    cat.write("b.jpg", "B");
    EXPECT_THROW(fileio::renameNoReplace(cat.path("a.jpg"), cat.path("b.jpg")), StoreError);
    EXPECT_EQ(cat.read("b.jpg"), QByteArray("B"));
    fileio::renameNoReplace(cat.path("a.jpg"), cat.path("c.jpg"));
    EXPECT_EQ(cat.read("c.jpg"), QByteArray("A"));

    cat.write("dir/inner.txt", "x");
    EXPECT_THROW(fileio::removeFile(cat.path("dir")), StoreError);
    EXPECT_THROW(fileio::removeDir(cat.path("dir")), StoreError);
    EXPECT_EQ(cat.read("dir/inner.txt"), QByteArray("x"));

    EXPECT_THROW(fileio::copyNew(cat.path("c.jpg"), cat.path("b.jpg")), StoreError);
    fileio::copyNew(cat.path("c.jpg"), cat.path("d.jpg"));
    EXPECT_EQ(cat.read("d.jpg"), QByteArray("A"));
}

TEST(Codec, EveryByteSurvivesTheRoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    const QString text = cp1251::decode(all);
    EXPECT_EQ(text.mid(0xC0, 4), U("АБВГ"));
    EXPECT_EQ(text[0xB8], QChar(0x0451));  // ё
    const cp1251::Encoded back = cp1251::encode(text);
    EXPECT_TRUE(back.ok());
    EXPECT_EQ(back.bytes, all);
}

TEST(Codec, CharactersOutsideTheCodePageAreReportedNotReplaced) {
    const cp1251::Encoded e = cp1251::encode(U("Привет ☃ мир ☃ 😀 €"));
    EXPECT_FALSE(e.ok());
    EXPECT_EQ(e.unencodable, U("☃😀"));  // € is in Windows-1251 (0x88)
    EXPECT_EQ(cp1251::describeCharacters(e.unencodable), U("☃ (U+2603), 😀 (U+1F600)"));
    EXPECT_EQ(cp1251::encode(U("€")).bytes, QByteArray("\x88"));
}

// ---------------------------------------------------------------- the performer model

TEST(PerformerModel, ReadsAsTheListsShowAndSavedUnchangedWritesNothing) {
    const TempCatalogue cat;
    cat.addPerformer(
        "P", "A\r\n\r\nB",
        "stray\r\nA##-**~\r\ns\r\nt\r\nendalbum\r\na##-**~\r\nwrong case\r\nendalbum\r\n"
        "A##-**~\r\nu\r\nendalbum\r\n",
        "A ##-**~ s\r\none\r\nendsong\r\n\r\njunk\r\nA ##-**~ s\r\ntwo\rx\n"
        "A ##-**~ t\r\nendsong\r\nA ##-**~ u\r\ncut\x1atail\r\nlast\r\n\x1a");
    const PerformerRepository repository(cat.startDir());
    const PerformerCatalogue catalogue = repository.load("P");
    QStringList shown;
    for (const CatalogueAlbum& album : catalogue.walk())
        for (const CatalogueSong& song : album.songs)
            shown << QString(album.name + '/' + song.name + '=' + song.text.join('|'));
    EXPECT_EQ(shown, (QStringList{"A/s=one|twox|A ##-**~ t", "A/t=", "A/u=cut|last"}));

    const auto before = cat.snapshot();
    FileSetChange change;
    repository.save(change, catalogue);
    EXPECT_TRUE(change.commit().isEmpty());
    EXPECT_EQ(cat.snapshot(), before);
}
