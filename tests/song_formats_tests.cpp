// The song files of other programs: ChordPro and OpenLyrics read into songs (chord lines above
// their lyric lines), written back, and scanned, damaged files passed over and listed.
#include <gtest/gtest.h>

#include "import/ChordPro.h"
#include "import/OpenLyrics.h"
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
