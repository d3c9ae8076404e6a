// The session's commands without windows: the bytes they leave on disk, what they tell the
// user, and the journal of every file they changed.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <functional>
#include <memory>

#include "session/AppearanceCommands.h"
#include "session/CatalogueSession.h"
#include "session/EditingCommands.h"
#include "session/HistoryCommands.h"
#include "session/ImportCommands.h"
#include "session/PictureCommands.h"
#include "session/RenameCommands.h"
#include "store/FileIo.h"
#include "tests/helpers/QuietFeedback.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

const QString kList = QStringLiteral("Data/performers.lrx");

class Commands : public ::testing::Test {
  public:
    Commands() : previousDir_(QDir::currentPath()) {}
    ~Commands() override {
        fileio::clearFaults();
        QDir::setCurrent(previousDir_);
    }

    CatalogueSession& open() { return open(cat); }
    CatalogueSession& open(const TempCatalogue& at) {
        QDir::setCurrent(at.startDir());
        session = std::make_unique<CatalogueSession>();
        session->Open(quiet);
        return *session;
    }
    Outcome run(Command& command) { return session->execute(command, quiet); }
    Outcome run(Command&& command) { return run(command); }
    void choose(const QByteArray& performer, const QByteArray& album = {},
                const QByteArray& song = {}) {
        session->ChoosePerformer(int(session->Performers().indexOf(performer)), quiet);
        if (!album.isNull()) session->ChooseAlbum(int(session->Albums().indexOf(album)), quiet);
        if (!song.isNull()) session->ChooseSong(int(session->Songs().indexOf(song)), quiet);
    }

    TempCatalogue cat;
    QuietFeedback quiet;
    std::unique_ptr<CatalogueSession> session;

  private:
    QString previousDir_;
};

// A journal as lines: "+ folder", "- folder", and "path: before -> after" with the bytes in C
// escapes ("-" for no file), paths below the catalogue folder.
QStringList Described(const ChangeJournal& journal, const QString& root) {
    const auto shown = [](const std::optional<QByteArray>& bytes) {
        if (!bytes) return QStringLiteral("-");
        QString s;
        for (const char c : *bytes) {
            if (c == '\r')
                s += QStringLiteral("\\r");
            else if (c == '\n')
                s += QStringLiteral("\\n");
            else
                s += QChar(uchar(c) < 0x80 ? QChar(c) : QChar(u'?'));
        }
        return u'"' + s + u'"';
    };
    const auto relative = [&root](const QString& path) { return path.mid(root.size() + 1); };
    QStringList lines;
    for (const QString& folder : journal.madeFolders) lines << "+ " + relative(folder);
    for (const FileVersions& f : journal.files)
        lines << relative(f.path) + ": " + shown(f.before) + " -> " + shown(f.after);
    for (const QString& folder : journal.removedFolders) lines << "- " + relative(folder);
    return lines;
}

// The lines of a described journal with its files in path order (a folder lists its files in
// no particular order), one per line for a readable failure.
std::string InPathOrder(QStringList lines) {
    const auto isFile = [](const QString& line) {
        return !line.startsWith(u"+ ") && !line.startsWith(u"- ");
    };
    const auto first = std::find_if(lines.begin(), lines.end(), isFile);
    const auto last =
        std::find_if(first, lines.end(), [&](const QString& l) { return !isFile(l); });
    std::sort(first, last);
    return lines.join(u'\n').toStdString();
}

void LayOutSmallCatalogue(const TempCatalogue& cat) {
    cat.addPerformer("A", "X\r\n", "X##-**~\r\ns\r\nendalbum\r\n",
                     "X ##-**~ s\r\nla\r\nendsong\r\n");
    cat.write("Data/A/Image/X.jpg", "pic");
    cat.write("scan/Y/t.txt", "lo\r\n");
    cat.write("base/D/Albums.lrx", "Q\r\n");
    cat.write("base/D/Songs.lrx", "");
    cat.write("base/D/Texts.lrx", "");
}

struct JournalCase {
    const char* name;
    std::function<void(Commands&)> choose;
    std::function<std::unique_ptr<Command>()> command;
    QStringList journal;
};

// ---------------------------------------------------------------- every command's journal

TEST_F(Commands, EachCommandsJournalHoldsEveryFileItChangedWithItsBytesBeforeAndAfter) {
    const auto none = [](Commands&) {};
    const auto a = [](Commands& t) { t.choose("A", "X"); };
    const JournalCase cases[] = {
        {"new performer",
         none,
         [] { return std::make_unique<AddPerformerCommand>("B  "); },
         {"+ Data/B", "+ Data/B/Image", "Data/B/Songs.lrx: - -> \"\"",
          "Data/B/Albums.lrx: - -> \"\"", "Data/B/Texts.lrx: - -> \"\"",
          "Data/performers.lrx: \"A\\r\\n\" -> \"A\\r\\nB\\r\\n\""}},
        {"album list",
         a,
         [] {
             return std::make_unique<SaveAlbumListCommand>("A", Lines{"X", "Y"});
         },
         {"Data/A/Albums.lrx: \"X\\r\\n\" -> \"X\\r\\nY\\r\\n\"",
          "Data/A/Songs.lrx: \"X##-**~\\r\\ns\\r\\nendalbum\\r\\n\" -> "
          "\"X##-**~\\r\\ns\\r\\nendalbum\\r\\nY##-**~\\r\\nendalbum\\r\\n\""}},
        {"song list",
         a,
         [] {
             return std::make_unique<SaveSongListCommand>(CommandTarget{"A", "X", {}},
                                                          Lines{"t", "s"});
         },
         {"Data/A/Songs.lrx: \"X##-**~\\r\\ns\\r\\nendalbum\\r\\n\" -> "
          "\"X##-**~\\r\\nt\\r\\ns\\r\\nendalbum\\r\\n\""}},
        {"song text",
         a,
         [] {
             return std::make_unique<SaveSongTextCommand>(CommandTarget{"A", "X", "s"},
                                                          Lines{"new"});
         },
         {"Data/A/Texts.lrx: \"X ##-**~ s\\r\\nla\\r\\nendsong\\r\\n\" -> "
          "\"X ##-**~ s\\r\\nnew\\r\\nendsong\\r\\n\""}},
        {"song rename",
         a,
         [] {
             return std::make_unique<RenameSongCommand>(CommandTarget{"A", "X", "s"}, "u");
         },
         {"Data/A/Songs.lrx: \"X##-**~\\r\\ns\\r\\nendalbum\\r\\n\" -> "
          "\"X##-**~\\r\\nu\\r\\nendalbum\\r\\n\"",
          "Data/A/Texts.lrx: \"X ##-**~ s\\r\\nla\\r\\nendsong\\r\\n\" -> "
          "\"X ##-**~ u\\r\\nla\\r\\nendsong\\r\\n\""}},
        {"album rename",
         a,
         [] { return std::make_unique<RenameAlbumCommand>("A", "X", "Z"); },
         {"Data/A/Albums.lrx: \"X\\r\\n\" -> \"Z\\r\\n\"",
          "Data/A/Songs.lrx: \"X##-**~\\r\\ns\\r\\nendalbum\\r\\n\" -> "
          "\"Z##-**~\\r\\ns\\r\\nendalbum\\r\\n\"",
          "Data/A/Texts.lrx: \"X ##-**~ s\\r\\nla\\r\\nendsong\\r\\n\" -> "
          "\"Z ##-**~ s\\r\\nla\\r\\nendsong\\r\\n\"",
          "Data/A/Image/X.jpg: \"pic\" -> -", "Data/A/Image/Z.jpg: - -> \"pic\""}},
        {"performer rename",
         a,
         [] { return std::make_unique<RenamePerformerCommand>("A", "C"); },
         {"+ Data/C", "+ Data/C/Image", "Data/C/Albums.lrx: - -> \"X\\r\\n\"",
          "Data/C/Songs.lrx: - -> \"X##-**~\\r\\ns\\r\\nendalbum\\r\\n\"",
          "Data/C/Texts.lrx: - -> \"X ##-**~ s\\r\\nla\\r\\nendsong\\r\\n\"",
          "Data/C/Image/X.jpg: - -> \"pic\"", "Data/performers.lrx: \"A\\r\\n\" -> \"C\\r\\n\"",
          "Data/A/Albums.lrx: \"X\\r\\n\" -> -",
          "Data/A/Songs.lrx: \"X##-**~\\r\\ns\\r\\nendalbum\\r\\n\" -> -",
          "Data/A/Texts.lrx: \"X ##-**~ s\\r\\nla\\r\\nendsong\\r\\n\" -> -",
          "Data/A/Image/X.jpg: \"pic\" -> -", "- Data/A/Image", "- Data/A"}},
        {"picture attach",
         a,
         [] {
             return std::make_unique<AttachPictureCommand>(CommandTarget{"A", "X", {}}, "new");
         },
         {"Data/A/Image/X.jpg: \"pic\" -> \"new\""}},
        {"picture removal",
         a,
         [] { return std::make_unique<RemovePictureCommand>(); },
         {"Data/A/Image/X.jpg: \"pic\" -> -"}},
        {"performer deletion",
         a,
         [] { return std::make_unique<DeletePerformerCommand>(); },
         {"Data/performers.lrx: \"A\\r\\n\" -> \"\"", "Data/A/Image/X.jpg: \"pic\" -> -",
          "Data/A/Albums.lrx: \"X\\r\\n\" -> -",
          "Data/A/Songs.lrx: \"X##-**~\\r\\ns\\r\\nendalbum\\r\\n\" -> -",
          "Data/A/Texts.lrx: \"X ##-**~ s\\r\\nla\\r\\nendsong\\r\\n\" -> -", "- Data/A/Image",
          "- Data/A"}},
        {"scan",
         a,
         [] { return std::make_unique<ScanCommand>("A", QDir::current().filePath("scan")); },
         {"Data/A/Albums.lrx: \"X\\r\\n\" -> \"Y\\r\\n\"",
          "Data/A/Songs.lrx: \"X##-**~\\r\\ns\\r\\nendalbum\\r\\n\" -> "
          "\"Y##-**~\\r\\nt\\r\\nendalbum\\r\\n\"",
          "Data/A/Texts.lrx: \"X ##-**~ s\\r\\nla\\r\\nendsong\\r\\n\" -> "
          "\"Y ##-**~ t\\r\\nlo\\r\\nendsong\\r\\n\"",
          "Data/A/Image/X.jpg: \"pic\" -> -"}},
        {"import",
         none,
         [] { return std::make_unique<ImportCommand>(QDir::current().filePath("base/D")); },
         {"+ Data/D", "+ Data/D/Image", "Data/D/Albums.lrx: - -> \"Q\\r\\n\"",
          "Data/D/Songs.lrx: - -> \"\"", "Data/D/Texts.lrx: - -> \"\"",
          "Data/performers.lrx: \"A\\r\\n\" -> \"A\\r\\nD\\r\\n\""}},
        {"font",
         none,
         [] { return std::make_unique<FontCommand>("Face", 12, ColourRef{255}); },
         {"Data/Settings.ini: - -> \"[font]\\r\\nname=Face\\r\\nsize=12\\r\\ncolor=255\\r\\n\""}},
        {"background",
         none,
         [] {
             return std::make_unique<ColourCommand>(ColourCommand::Of::Background, ColourRef{0});
         },
         {"Data/Settings.ini: - -> \"[colors]\\r\\ncolor=0\\r\\n\""}},
        {"window colour",
         none,
         [] { return std::make_unique<ColourCommand>(ColourCommand::Of::Window, ColourRef{7}); },
         {"Data/Settings.ini: - -> \"[colors]\\r\\nformcolor=7\\r\\n\""}},
        {"appearance reset",
         none,
         [] { return std::make_unique<AppearanceResetCommand>(); },
         {"Data/Settings.ini: - -> \"[font]\\r\\nname=MS Sans Serif\\r\\nsize=8\\r\\n"
          "color=-16777208\\r\\n[colors]\\r\\ncolor=16777215\\r\\nformcolor=-16777201\\r\\n\""}},
    };
    for (const JournalCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TempCatalogue fresh;
        LayOutSmallCatalogue(fresh);
        open(fresh);
        c.choose(*this);
        const auto before = fresh.snapshot();
        ASSERT_EQ(run(*c.command()), Outcome::Done);
        EXPECT_EQ(InPathOrder(Described(session->lastJournal(), fresh.startDir())),
                  InPathOrder(c.journal));
        const auto after = fresh.snapshot();
        // Undo and redo play the step back and forth, tree and bytes.
        EXPECT_EQ(run(ReplayCommand(Replay::Back)), Outcome::Done);
        EXPECT_EQ(fresh.snapshot(), before);
        EXPECT_EQ(run(ReplayCommand(Replay::Forward)), Outcome::Done);
        EXPECT_EQ(fresh.snapshot(), after);
        EXPECT_EQ(run(ReplayCommand(Replay::Back)), Outcome::Done);
        EXPECT_EQ(fresh.snapshot(), before);
        EXPECT_TRUE(quiet.errors.isEmpty()) << quiet.errors.join(u' ').toStdString();
    }
}

// ---------------------------------------------------------------- undo and redo

TEST_F(Commands, AnUndoNeverWritesOverAFileChangedSinceAndKeepsItsStep) {
    LayOutSmallCatalogue(cat);
    open();
    choose("A", "X", "s");
    ASSERT_EQ(run(SaveSongTextCommand({"A", "X", "s"}, Lines{"new"})), Outcome::Done);
    cat.write("Data/A/Texts.lrx", "theirs\r\n");
    EXPECT_EQ(run(ReplayCommand(Replay::Back)), Outcome::Failed);
    EXPECT_EQ(quiet.told, QList<NoticeId>{NoticeId::UndoBlockedByOutsideChange});
    EXPECT_EQ(cat.read("Data/A/Texts.lrx"), "theirs\r\n");
    ASSERT_NE(session->History().toUndo(), nullptr);
    EXPECT_EQ(session->History().toUndo()->label.kind, CommandKind::SongText);
}

TEST_F(Commands, TheHistoryKeepsTheLast100StepsAndLargeBytesInTheCacheWhileTheirStepLasts) {
    LayOutSmallCatalogue(cat);
    open();
    choose("A", "X", "s");
    const Lines large(20000, QByteArray(60, 'a'));  // 1.2 MB of text
    ASSERT_EQ(run(SaveSongTextCommand({"A", "X", "s"}, large)), Outcome::Done);
    QCoreApplication::processEvents();  // the cache takes them once the command is over
    const QStringList cached = session->History().cacheFiles();
    ASSERT_EQ(cached.size(), 1);  // the bytes before are small; those after go to the cache
    EXPECT_TRUE(QFile::exists(cached.first()));
    // The large text goes with the two steps that keep it: the one that wrote it and the next.
    for (int i = 0; i <= 100; ++i)
        ASSERT_EQ(run(SaveSongTextCommand({"A", "X", "s"}, Lines{QByteArray::number(i)})),
                  Outcome::Done);
    EXPECT_EQ(session->History().size(), 100);
    EXPECT_TRUE(session->History().cacheFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(cached.first()));
    for (int i = 0; i < 100; ++i) ASSERT_EQ(run(ReplayCommand(Replay::Back)), Outcome::Done);
    EXPECT_EQ(session->History().toUndo(), nullptr);
    EXPECT_EQ(cat.read("Data/A/Texts.lrx"), "X ##-**~ s\r\n0\r\nendsong\r\n");
}

// ---------------------------------------------------------------- the editors' rules

TEST_F(Commands, NewPerformersAreListedWithTheirEmptyFolderOrRefused) {
    cat.addPerformer(W("Кино"), "x\r\n");
    cat.write("Data/old/Albums.lrx", "A\r\n");
    open();
    // A folder left over from an earlier run: listed all the same, its files untouched.
    EXPECT_EQ(run(AddPerformerCommand("old")), Outcome::Failed);
    EXPECT_EQ(quiet.told, QList<NoticeId>{NoticeId::PerformerFolderFailure});
    EXPECT_EQ(cat.read(kList), W("Кино\r\nold\r\n"));
    EXPECT_EQ(cat.read("Data/old/Albums.lrx"), "A\r\n");
    EXPECT_EQ(session->Performers(), (Lines{W("Кино"), "old"}));
    // Refused before anything is written.
    quiet.told.clear();
    for (const char* bad : {"   ", "old ", "..", "a:b", "x/y", "a\tb\nc"})
        EXPECT_EQ(run(AddPerformerCommand(bad)), Outcome::Refused) << bad;
    EXPECT_EQ(quiet.told,
              (QList<NoticeId>{NoticeId::EnterName, NoticeId::PerformerExists,
                               NoticeId::PerformerNameUnsafe, NoticeId::PerformerNameUnsafe,
                               NoticeId::PerformerNameUnsafe, NoticeId::NameHasControlCharacter}));
    EXPECT_EQ(cat.read(kList), W("Кино\r\nold\r\n"));
}

TEST_F(Commands, AlbumListGivesEveryAlbumWithoutHeaderLineAnEmptyBlock) {
    const QByteArray songs = "Old##-**~\r\nLove song\r\nendalbum\r\n";
    cat.addPerformer("P", "Old\r\n", songs, "t\r\n");
    open();
    EXPECT_EQ(run(SaveAlbumListCommand("P", {"AB", "A", " ", "Love", "Old", "A"})), Outcome::Done);
    EXPECT_EQ(cat.read("Data/P/Albums.lrx"), "AB\r\nA\r\n \r\nLove\r\nOld\r\nA\r\n");
    // AB's header holds "A" and a song holds "Love": both still get their own block; A listed
    // twice gets one.
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"),
              songs +
                  "AB##-**~\r\nendalbum\r\nA##-**~\r\nendalbum\r\n"
                  " ##-**~\r\nendalbum\r\nLove##-**~\r\nendalbum\r\n");
    // New blocks start on their own line, after a last line without line end or a Ctrl-Z.
    for (const QByteArray& end :
         {QByteArray("X##-**~\r\nendalbum"), QByteArray("X##-**~\r\nendalbum\r\n\x1a")}) {
        cat.write("Data/P/Songs.lrx", end);
        EXPECT_EQ(run(SaveAlbumListCommand("P", {"X", "Y"})), Outcome::Done);
        EXPECT_EQ(cat.read("Data/P/Songs.lrx"), "X##-**~\r\nendalbum\r\nY##-**~\r\nendalbum\r\n");
    }
    // A missing song list ends the save after the album list.
    QFile::remove(cat.path("Data/P/Songs.lrx"));
    EXPECT_EQ(run(SaveAlbumListCommand("P", {"B"})), Outcome::Failed);
    EXPECT_EQ(cat.read("Data/P/Albums.lrx"), "B\r\n");
    EXPECT_EQ(quiet.errors, QStringList{"File not found"});
}

TEST_F(Commands, SongListAndTextMoveTheirBlockToTheEnd) {
    cat.addPerformer("P", "",
                     "X##-**~\r\nx\r\nendalbum\r\nstray\r\nY##-**~\r\ny\r\nendalbum\r\n"
                     "Z##-**~\r\nz\r\nendalbum\r\n",
                     "A ##-**~ One\r\none\r\nendsong\r\nA ##-**~ Two\r\ntwo\r\nendsong\r\n"
                     "A ##-**~ Three\r\nthree\r\nendsong\r\n");
    open();
    const auto songs = [this](const Lines& list) {
        return run(SaveSongListCommand({"P", "Y", {}}, list));
    };
    EXPECT_EQ(songs({"y", "", " new"}), Outcome::Done);
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"),
              "X##-**~\r\nx\r\nendalbum\r\nstray\r\nZ##-**~\r\nz\r\nendalbum\r\n"
              "Y##-**~\r\ny\r\n\r\n new\r\nendalbum\r\n");
    // Two adjacent blocks of one album: the second's header is the line not examined.
    cat.write("Data/P/Songs.lrx", "Y##-**~\r\na\r\nendalbum\r\nY##-**~\r\nb\r\nendalbum\r\n");
    songs({});
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"), "Y##-**~\r\nb\r\nendalbum\r\nY##-**~\r\nendalbum\r\n");
    // A block without its end line runs to the end of the file; lone CRs and LF line ends of
    // the rest are written anew.
    cat.write("Data/P/Songs.lrx", "X##-**~\nendalbum\r\nY##-**~\r\na\r\nZ##-**~\r\nz\r\n");
    songs({"n"});
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"), "X##-**~\r\nendalbum\r\nY##-**~\r\nn\r\nendalbum\r\n");
    // "endalbum" would end the block early; lines that look like it do not.
    EXPECT_EQ(songs({"a", "endalbum"}), Outcome::Refused);
    songs({"endalbum ", "endsong"});
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"),
              "X##-**~\r\nendalbum\r\nY##-**~\r\nendalbum \r\nendsong\r\nendalbum\r\n");

    EXPECT_EQ(run(SaveSongTextCommand({"P", "A", "Two"}, {})), Outcome::Done);
    EXPECT_EQ(cat.read("Data/P/Texts.lrx"),
              "A ##-**~ One\r\none\r\nendsong\r\nA ##-**~ Three\r\nthree\r\nendsong\r\n"
              "A ##-**~ Two\r\nendsong\r\n");
    EXPECT_EQ(run(SaveSongTextCommand({"P", "A", "One"}, {"endsong"})), Outcome::Refused);
    // The two files the test wrote between saves were written by someone else: each of those
    // saves asked first.
    EXPECT_EQ(quiet.told,
              (QList<NoticeId>{NoticeId::ConfirmOverwriteOutsideChange,
                               NoticeId::ConfirmOverwriteOutsideChange,
                               NoticeId::SongListHoldsEndAlbum, NoticeId::TextHoldsEndSong}));
}

TEST_F(Commands, DeletionRemovesListLineFilesAndTwoFoldersOnly) {
    cat.addPerformer("A");
    cat.addPerformer(W("Бэнд"), "x\r\n", "y\r\n", "z\r\n");
    cat.addPerformer("C");
    cat.write(U("Data/Бэнд/Image/a.jpg"), "jpeg");
    cat.write(U("Data/Бэнд/.hidden"), "h");
    cat.write("Data/C/Lyrics/keep.txt", "keep");
    open();
    const auto remove = [this](const QByteArray& name) {
        choose(name);
        return run(DeletePerformerCommand());
    };
    EXPECT_EQ(remove(W("Бэнд")), Outcome::Done);
    EXPECT_EQ(cat.read(kList), "A\r\nC\r\n");
    EXPECT_FALSE(cat.exists(U("Data/Бэнд")));
    // A sub-folder the user put there survives, and with it the performer folder.
    EXPECT_EQ(remove("C"), Outcome::Done);
    EXPECT_EQ(cat.read(kList), "A\r\n");
    EXPECT_EQ(cat.read("Data/C/Lyrics/keep.txt"), "keep");
    EXPECT_FALSE(cat.exists("Data/C/Albums.lrx"));
    EXPECT_EQ(quiet.told,
              (QList<NoticeId>{NoticeId::ConfirmPerformerDeletion,
                               NoticeId::ConfirmPerformerDeletion, NoticeId::DeletionProblems}));
    // The only performer: a zero-length list.
    EXPECT_EQ(remove("A"), Outcome::Done);
    EXPECT_EQ(cat.read(kList), "");
    EXPECT_EQ(run(DeletePerformerCommand()), Outcome::Refused);
}

// ---------------------------------------------------------------- renames

TEST_F(Commands, AlbumRenameChangesOnlyTheOldAlbumsLinesAndCarriesThePicture) {
    const QByteArray kPerf = W("Кино");
    cat.addPerformer(kPerf, "A\r\nAB\r\nA\r\n",
                     "A##-**~\r\none\r\nA##-**~\r\nendalbum\r\nAB##-**~\r\none\r\nendalbum\r\n",
                     "A ##-**~ one\r\nA ##-**~ text A\r\nendsong\r\nAB ##-**~ one\r\ntext AB\r\n"
                     "endsong\r\nA ##-**~\r\nA ##-**\r\nendsong\r\n");
    cat.write(U("Data/Кино/Image/A.jpg"), "picture A");
    cat.write(U("Data/Кино/Image/C.jpg"), "stale C");
    open();
    choose(kPerf, "A");
    EXPECT_EQ(run(RenameAlbumCommand(kPerf, "A", W("Ц"))), Outcome::Done);
    EXPECT_EQ(session->Albums(), (Lines{W("Ц"), "AB", W("Ц")}));
    // Every line equal to the header changes, one inside a block too.
    EXPECT_EQ(cat.read(U("Data/Кино/Songs.lrx")),
              W("Ц##-**~\r\none\r\nЦ##-**~\r\nendalbum\r\nAB##-**~\r\none\r\nendalbum\r\n"));
    // Every line beginning with "A ##-**~" takes the new name, an empty song part included;
    // "AB ##-**~" and the shorter "A ##-**" do not match.
    EXPECT_EQ(cat.read(U("Data/Кино/Texts.lrx")),
              W("Ц ##-**~ one\r\nЦ ##-**~ text A\r\nendsong\r\nAB ##-**~ one\r\ntext AB\r\n"
                "endsong\r\nЦ ##-**~\r\nA ##-**\r\nendsong\r\n"));
    EXPECT_EQ(cat.read(U("Data/Кино/Image/Ц.jpg")), "picture A");
    // The picture never replaces another one.
    EXPECT_EQ(run(RenameAlbumCommand(kPerf, W("Ц"), "C")), Outcome::Done);
    EXPECT_EQ(cat.read(U("Data/Кино/Image/Ц.jpg")), "picture A");
    EXPECT_EQ(cat.read(U("Data/Кино/Image/C.jpg")), "stale C");
    EXPECT_EQ(run(RenameAlbumCommand(kPerf, "C", "AB")), Outcome::Refused);
    EXPECT_EQ(quiet.told, QList<NoticeId>{NoticeId::AlbumExistsRename});
}

TEST_F(Commands, PerformerRenameCarriesLineFilesAndJpegsByteForByte) {
    const QByteArray kPerf = W("Кино");
    const QByteArray albums("A\r\n\xff\x98\r\n", 8);
    const QByteArray songs("A##-**~\r\nx\r\nendalbum\r\n\x1a", 23);
    cat.addPerformer("First");
    cat.addPerformer(kPerf, albums, songs, "no line end");
    cat.addPerformer("Last");
    cat.write(U("Data/Кино/Image/A.jpg"), QByteArray("\xff\xd8jpeg\0data", 11));
    cat.write(U("Data/Кино/Image/Upper.JPG"), "upper");
    cat.write(U("Data/Кино/Image/notes.txt"), "not a picture");
    cat.write("Data/Other/Albums.lrx", "theirs\r\n");  // a folder no list line names
    open();
    choose(kPerf);
    const auto before = cat.snapshot();
    RenamePerformerCommand taken(kPerf, "Other");
    EXPECT_EQ(run(taken), Outcome::Done);
    EXPECT_FALSE(taken.renamed());
    EXPECT_EQ(cat.snapshot(), before);

    RenamePerformerCommand rename(kPerf, W("Ария  "));
    EXPECT_EQ(run(rename), Outcome::Done);
    EXPECT_TRUE(rename.renamed());
    EXPECT_EQ(session->Performers(), (Lines{"First", W("Ария"), "Last"}));
    EXPECT_EQ(cat.read(kList), W("First\r\nАрия\r\nLast\r\n"));
    EXPECT_FALSE(cat.exists(U("Data/Кино")));
    EXPECT_EQ(cat.read(U("Data/Ария/Albums.lrx")), albums);
    EXPECT_EQ(cat.read(U("Data/Ария/Songs.lrx")), songs);
    EXPECT_EQ(cat.read(U("Data/Ария/Texts.lrx")), "no line end");
    EXPECT_EQ(cat.read(U("Data/Ария/Image/A.jpg")), QByteArray("\xff\xd8jpeg\0data", 11));
    EXPECT_EQ(cat.read(U("Data/Ария/Image/Upper.JPG")), "upper");
    EXPECT_FALSE(cat.exists(U("Data/Ария/Image/notes.txt")));

    // Other entries keep the old folder with them; nothing is removed recursively.
    cat.write(U("Data/Ария/readme.txt"), "mine");
    choose(W("Ария"));
    EXPECT_EQ(run(RenamePerformerCommand(W("Ария"), "New")), Outcome::Done);
    EXPECT_EQ(cat.read("Data/New/Albums.lrx"), albums);
    EXPECT_EQ(cat.read(U("Data/Ария/readme.txt")), "mine");
    EXPECT_EQ(quiet.told, (QList<NoticeId>{NoticeId::RenameProblems, NoticeId::RenameProblems}));
}

TEST_F(Commands, SongRenameTakesOnlyTheSongOfThisAlbumInEveryBlockOfIt) {
    cat.addPerformer("P", "A\r\nB\r\n",
                     "A##-**~\r\nsong\r\nother\r\nsong\r\nendalbum\r\n"
                     "song\r\n"  // a stray line between blocks
                     "B##-**~\r\nsong\r\nendalbum\r\n"
                     "A##-**~\r\nsong\r\n",  // a block without its end line
                     "A ##-**~ song\r\nsong\r\nendsong\r\nB ##-**~ song\r\nB text\r\nendsong\r\n");
    open();
    choose("P", "A", "song");
    EXPECT_EQ(run(RenameSongCommand({"P", "A", "song"}, W(" Песня/?* "))), Outcome::Done);
    EXPECT_EQ(cat.read("Data/P/Songs.lrx"),
              W("A##-**~\r\n Песня/?* \r\nother\r\n Песня/?* \r\nendalbum\r\nsong\r\n"
                "B##-**~\r\nsong\r\nendalbum\r\nA##-**~\r\n Песня/?* \r\n"));
    EXPECT_EQ(
        cat.read("Data/P/Texts.lrx"),
        W("A ##-**~  Песня/?* \r\nsong\r\nendsong\r\nB ##-**~ song\r\nB text\r\nendsong\r\n"));
    EXPECT_EQ(session->TextKey(), W("A ##-**~  Песня/?* "));
    EXPECT_EQ(session->SongIndex(), 0);
    for (const char* bad : {"", "other", "endalbum"})
        EXPECT_EQ(run(RenameSongCommand({"P", "A", W(" Песня/?* ")}, bad)), Outcome::Refused);
    EXPECT_EQ(quiet.told, (QList<NoticeId>{NoticeId::EmptySongName, NoticeId::SongExistsRename,
                                           NoticeId::SongNamedEndAlbum}));
}

TEST(NewNames, RefusedBeforeAnythingIsWritten) {
    const Lines list{"A", "B "};
    EXPECT_EQ(CheckAlbumName("", list), NameProblem::Empty);
    EXPECT_EQ(CheckAlbumName("A", list), NameProblem::Duplicate);
    EXPECT_EQ(CheckAlbumName("a", list), NameProblem::None);
    for (const char* bad : {"x\\y", "x/y", "x:y", "x*y", "x?y", "x\"y", "x<y", "x>y", "x|y"}) {
        EXPECT_EQ(CheckAlbumName(bad, list), NameProblem::PathCharacter) << bad;
        EXPECT_EQ(CheckPerformerName(bad, list), NameProblem::PathCharacter) << bad;
        EXPECT_EQ(CheckSongName(bad, list), NameProblem::None) << bad;
    }
    for (const char* dots : {".", ".."})
        EXPECT_EQ(CheckAlbumName(dots, list), NameProblem::DotName);
    EXPECT_EQ(CheckPerformerName("...", list), NameProblem::None);
    for (const QByteArray& control :
         {QByteArray("a\nb"), QByteArray("a\rb"), QByteArray("a\x1a"), QByteArray("a\0b", 3)})
        EXPECT_EQ(CheckSongName(control, list), NameProblem::ControlCharacter);
    EXPECT_EQ(CheckSongName("endalbum ", list), NameProblem::None);
    EXPECT_EQ(CheckSongName("B ", list), NameProblem::Duplicate);
    EXPECT_EQ(WithoutTrailingBlanks(" Abc \t  "), " Abc \t");
}

}  // namespace
