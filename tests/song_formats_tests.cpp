// The song files of other programs: ChordPro and OpenLyrics read into songs (chord lines above
// their lyric lines), written back, and scanned, damaged files passed over and listed.
#include <gtest/gtest.h>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "import/ChordPro.h"
#include "import/OpenLyrics.h"
#include "import/PerformerExport.h"
#include "tests/helpers/ScanInto.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

QStringList L(std::initializer_list<const char*> lines) {
    QStringList out;
    for (const char* line : lines) out.append(U(line));
    return out;
}

QString Describe(const QList<ReadSong>& songs) {
    QStringList out;
    for (const ReadSong& s : songs) out.append(s.name + u'|' + s.lines.join(u'\n'));
    return out.join(QStringLiteral("\n#\n"));
}

// ---------------------------------------------------------------- chord lines and ChordPro

// The text as lyric files have it, and its lines in a ChordPro file: chords go into the lyric
// line at their columns; a chord line that cannot come back exactly stays text.
struct ChordCase {
    QStringList text;
    QStringList chordPro;
};

TEST(ChordPro, ChordLinesFoldIntoBracketsAndComeBackColumnForColumn) {
    const ChordCase cases[] = {
        {L({"Am         Dm", "Ой, мороз, мороз"}), L({"[Am]Ой, мороз, [Dm]мороз"})},
        // a chord line above no lyric line, and chords past the end of their lyric
        {L({"C   G", "", "Em         A7", "Не морозь"}),
         L({"[C]    [G]", "", "[Em]Не морозь  [A7]"})},
        {L({"Hm  G/B", "меня"}), L({"[Hm]меня[G/B]"})},
        // no chord line: words among the chords, a space after the last chord, a tab
        {L({"Am Припев", "Am ", "x", "Am\tF", "y"}), L({"Am Припев", "Am ", "x", "Am\tF", "y"})},
        // text a reader would take for a directive or a remark
        {L({"{ns}", "# 2"}), L({"{comment: {ns}}", "{comment: # 2}"})},
    };
    for (const ChordCase& c : cases) {
        const QByteArray file = WriteChordPro(U("Кино"), U("Ночь"), {U("Мама"), c.text});
        EXPECT_EQ(QString::fromUtf8(file), U("{title: Мама}\n{artist: Кино}\n{album: Ночь}\n") +
                                               c.chordPro.join(u'\n') + u'\n');
        EXPECT_EQ(Describe(ReadChordPro(file, QStringLiteral("file"))),
                  Describe({{U("Мама"), c.text}}));
    }
}

TEST(ChordPro, DirectivesSectionsAndSongsOfOneFile) {
    const QByteArray file = U("# a remark\n"
                              "{title: Метель}\n{subtitle: ignored}\n\n"
                              "{soc}\n[Am]Ой, [Dm]мороз\n{eoc}\n\nКуплет [*riff]\n"
                              "{c: Повтор}\n[Am][F]Да\n\n{ns}\n"
                              "{start_of_verse}\nБез названия\n{end_of_verse}\n")
                                .toUtf8();
    EXPECT_EQ(Describe(ReadChordPro(file, QStringLiteral("song"))),
              Describe({{U("Метель"),
                         L({"Am  Dm", "Ой, мороз", "", "Куплет [*riff]", "Повтор", "Am F", "Да"})},
                        {U("song"), L({"Без названия"})}}));
    // Not UTF-8: the lyric file detection tells the code page.
    EXPECT_EQ(Describe(ReadChordPro(W("{t:Песня}\nГруппа крови на рукаве"), "x")),
              Describe({{U("Песня"), L({"Группа крови на рукаве"})}}));
}

// ---------------------------------------------------------------- OpenLyrics

QByteArray Song(const char* version, const char* body) {
    return QByteArray(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<song xmlns=\"http://openlyrics.info/namespace/2009/song\" version=\"") +
           version + "\">" + body + "</song>";
}

TEST(OpenLyrics, VersionsChordsOrderAndTitlesAsOtherProgramsWriteThem) {
    const struct {
        QByteArray xml;
        QString name;
        QStringList lines;
    } cases[] = {
        {Song("0.9",
              "<properties><titles><title>Second</title><title original=\"true\">Метель</title>"
              "</titles><verseOrder>c v1 c x</verseOrder></properties><lyrics>"
              "<verse name=\"v1\"><lines><chord root=\"B\" structure=\"m3-5\"/>Ой, "
              "<chord root=\"D\" structure=\"dom7\"/>мороз<br/><comment>тихо</comment> "
              "Не <tag name=\"b\">морозь</tag></lines></verse>"
              "<verse name=\"c1\"><lines><chord root=\"G\" bass=\"B\"/>Припев<chord root=\"C\" "
              "structure=\"3-5-a9\"/></lines></verse>"
              "<instrument name=\"i\"><lines><chord root=\"C\"/></lines></instrument>"
              "</lyrics>"),
         U("Метель"),
         L({"G/B   C(3-5-a9)", "Припев", "", "Bm  D7", "Ой, мороз", "тихо Не морозь", "",
            "G/B   C(3-5-a9)", "Припев"})},
        {Song("0.8",
              "\n<properties><titles><title>Old</title></titles></properties>\n<lyrics>\n"
              "  <verse name=\"v1\">\n    <lines>\n      <chord name=\"Am\"/>Line one<br/>\n"
              "      Line two\n    </lines>\n  </verse>\n"
              "  <verse name=\"v2\"><lines>Third</lines></verse>\n</lyrics>\n"),
         U("Old"), L({"Am", "Line one", "Line two", "", "Third"})},
        {Song("0.7",
              "<properties><titles><title>Seven</title></titles></properties><lyrics>"
              "<verse name=\"v1\"><lines><line>First</line>\n<line>Second</line></lines>"
              "</verse></lyrics>"),
         U("Seven"), L({"First", "Second"})},
        {Song("0.9", "<properties><titles/></properties><lyrics/>"), U("file"), {}},
    };
    for (const auto& c : cases) {
        const ReadSong song = ReadOpenLyrics(c.xml, QStringLiteral("file"));
        EXPECT_EQ(song.name, c.name);
        EXPECT_EQ(song.lines, c.lines);
    }
}

// ---------------------------------------------------------------- the scan

TEST(SongFormatScan, SongFilesBecomeSongsAndDamagedOnesAreListed) {
    TempCatalogue cat;
    cat.addPerformer(W("Группа"));
    const QByteArray bomb =
        "<?xml version=\"1.0\"?><!DOCTYPE song [<!ENTITY a \"aaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
        "<song xmlns=\"http://openlyrics.info/namespace/2009/song\" version=\"0.9\">"
        "<properties><titles><title>&c;</title></titles></properties></song>";
    const QByteArray external =
        "<?xml version=\"1.0\"?><!DOCTYPE song [<!ENTITY x SYSTEM "
        "\"file:///etc/passwd\">]><song>&x;</song>";
    const struct {
        const char* file;
        QByteArray bytes;
        const char* reason;  // empty for a file that reads
    } files[] = {
        {"1 good.cho", U("{title: Звезда}\n[Am]Белый снег\n").toUtf8(), ""},
        {"2 good.xml",
         Song("0.9",
              "<properties><titles><title>Мама</title></titles>"
              "</properties><lyrics><verse name=\"v1\"><lines>Мы все сошли "
              "с ума</lines></verse></lyrics>"),
         ""},
        {"3 bomb.xml", bomb, "файл XML объявляет DTD"},
        {"4 external.xml", external, "файл XML объявляет DTD"},
        {"5 page.xml", "<html><body/></html>", "это не песня OpenLyrics"},
        {"6 cut.xml", Song("0.9", "<properties>").left(120), "файл XML повреждён (строка 2)"},
        {"7 open.cho", "{title: x}\nla [Am la\n", "в строке 2 не закрыта скобка «[»"},
        {"8 brace.CRD", "{title: x\n", "в строке 1 не закрыта скобка «{»"},
    };
    QStringList unread;
    for (const auto& f : files) {
        cat.write(QStringLiteral("scan/A/") + U(f.file), f.bytes);
        if (*f.reason)
            unread.append(cat.path(QStringLiteral("scan/A/")) + U(f.file) + U(": ") + U(f.reason));
    }
    EXPECT_EQ(ScanInto(cat, W("Группа"), cat.path(QStringLiteral("scan")))
                  .unreadFiles.join(u'\n')
                  .toStdString(),
              unread.join(u'\n').toStdString());
    EXPECT_EQ(cat.read(U("Data/Группа/Songs.lrx")), W("A##-**~\r\nЗвезда\r\nМама\r\nendalbum\r\n"));
    EXPECT_EQ(cat.read(U("Data/Группа/Texts.lrx")),
              W("A ##-**~ Звезда\r\nAm\r\nБелый снег\r\nendsong\r\n"
                "A ##-**~ Мама\r\nМы все сошли с ума\r\nendsong\r\n"));
}

}  // namespace

// ---------------------------------------------------------------- export and round trips

// A tool or file outside the checkout that a check needs: without it the check is skipped,
// except where CANTORIA_REQUIRE_ALL=1 (CI) says every check must run.
bool Available(const QString& what, bool present) {
    if (present) return true;
    if (qEnvironmentVariable("CANTORIA_REQUIRE_ALL") == QStringLiteral("1"))
        ADD_FAILURE() << "missing: " << what.toStdString();
    return false;
}

// Runs a program; its exit code and everything it wrote to its error output.
struct ProgramRun {
    int exitCode = -1;
    QString errors;
};
ProgramRun RunProgram(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

QStringList FilesIn(const QString& folder, const QString& pattern) {
    QStringList files;
    QDirIterator it(folder, {pattern}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) files.append(it.next());
    return files;
}

class FormatExport : public ::testing::Test {
  protected:
    void SetUp() override {
        cat.addPerformer(W("Кино"), W("Альбом 2\r\nАльбом 10\r\n"),
                         W("Альбом 2##-**~\r\n.тихая\r\nЗвезда\r\nКукушка\r\nendalbum\r\n"
                           "Альбом 10##-**~\r\nТишина\r\nendalbum\r\n"),
                         W("Альбом 2 ##-**~ .тихая\r\nendsong\r\n"
                           "Альбом 2 ##-**~ Звезда\r\nAm          C\r\nБелый снег, серый лёд,\r\n"
                           "Hm  G\r\nНа растрескавшейся земле.\r\n\r\nC   G\r\n\r\nAm  \r\n"
                           "Припев\r\nendsong\r\n"
                           "Альбом 2 ##-**~ Кукушка\r\nEm7   D/F#\r\nПесен ещё ненаписанных — "
                           "сколько?\r\nendsong\r\n"
                           "Альбом 10 ##-**~ Тишина\r\nquiet\r\nendsong\r\n"));
        cat.mkdir(QStringLiteral("out"));
    }
    QString exportAs(ExportFormat format, const QString& folder) {
        cat.mkdir(folder);
        return ExportPerformer(cat.startDir(), W("Кино"), cat.path(folder), format).performerFolder;
    }
    TempCatalogue cat;
};

TEST_F(FormatExport, EachFormatScansBackIntoTheSameThreeFiles) {
    const ExportFormat formats[] = {ExportFormat::Text, ExportFormat::OpenLyrics,
                                    ExportFormat::ChordPro};
    for (const ExportFormat format : formats) {
        const QString folder = exportAs(format, QStringLiteral("out%1").arg(int(format)));
        cat.addPerformer(W("Копия"));
        EXPECT_TRUE(ScanInto(cat, W("Копия"), folder).unreadFiles.isEmpty());
        for (const char* file : {"Albums.lrx", "Songs.lrx", "Texts.lrx"})
            EXPECT_EQ(cat.read(U("Data/Копия/") + U(file)), cat.read(U("Data/Кино/") + U(file)))
                << file << " after format " << int(format);
    }
}

TEST_F(FormatExport, AnOpenLyricsSongFoldsTheChordsTheNotationHolds) {
    const QString folder = exportAs(ExportFormat::OpenLyrics, QStringLiteral("xml"));
    QString song = QString::fromUtf8(cat.read(QStringLiteral("xml/Кино/Альбом 2/Звезда.xml")));
    song.replace(QRegularExpression(QStringLiteral("modifiedDate=\"[0-9T:Z-]+\"")),
                 QStringLiteral("modifiedDate=\"…\""));
    EXPECT_EQ(song.toStdString(),
              U("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<song xmlns=\"http://openlyrics.info/namespace/2009/song\" version=\"0.9\" "
                "createdIn=\"Cantoria 2.7.0\" modifiedDate=\"…\">\n<properties>\n"
                "<titles><title>Звезда</title></titles>\n<authors><author>Кино</author></authors>\n"
                "<songbooks><songbook name=\"Альбом 2\" entry=\"2\"/></songbooks>\n"
                "</properties>\n<lyrics>\n<verse name=\"v1\"><lines><chord root=\"A\" "
                "structure=\"m3-5\"/>Белый снег, <chord root=\"C\"/>серый лёд,<br/>Hm  G<br/>"
                "На растрескавшейся земле.</lines></verse>\n"
                "<verse name=\"v2\"><lines><chord root=\"C\"/>    <chord root=\"G\"/></lines>"
                "</verse>\n<verse name=\"v3\"><lines>Am  <br/>Припев</lines></verse>\n"
                "</lyrics>\n</song>\n")
                  .toStdString());
    // The official schema, where the machine has it beside the checkout.
    const QString schema = QStringLiteral(CANTORIA_SHARED_DIR "/formats/openlyrics-0.9.rng");
    if (!Available(schema, QFile::exists(schema)) ||
        !Available(QStringLiteral("xmllint"), !QStandardPaths::findExecutable("xmllint").isEmpty()))
        return;
    const ProgramRun lint =
        RunProgram(QStringLiteral("xmllint"),
                   QStringList{QStringLiteral("--noout"), QStringLiteral("--relaxng"), schema} +=
                   FilesIn(folder, QStringLiteral("*.xml")));
    EXPECT_EQ(lint.exitCode, 0) << lint.errors.toStdString();
}

TEST_F(FormatExport, ChordiiReadsTheChordProFiles) {
    const QString folder = exportAs(ExportFormat::ChordPro, QStringLiteral("cho"));
    if (!Available(QStringLiteral("chordii"), !QStandardPaths::findExecutable("chordii").isEmpty()))
        return;
    // chordii reports every fault as a warning and ends with 0. It warns of the {artist:} and
    // {album:} of newer ChordPro and of chords it has no diagram for; any other warning (a
    // chord or directive left open, say) is a fault of the file.
    static const QRegularExpression expected(QStringLiteral(
        "WARNING: (Invalid Directive : \\[(artist|album)\\]|chord '[^']+' has never been "
        "defined)\\s+in file \"[^\"]+\", line [0-9]+\\s*"));
    for (const QString& file : FilesIn(folder, QStringLiteral("*.cho"))) {
        const ProgramRun run = RunProgram(QStringLiteral("chordii"), {"-o", "/dev/null", file});
        EXPECT_EQ(run.exitCode, 0);
        const QString errors = QString(run.errors).remove(expected);
        EXPECT_EQ(errors.toStdString(), "") << file.toStdString();
    }
}
