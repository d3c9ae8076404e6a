// Songs and songbooks printed to PDF, read back with pdftotext.
#include <gtest/gtest.h>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "printing/ChordLine.h"
#include "printing/SongPrint.h"
#include "printing/Songbook.h"

namespace {

QString PdfToText(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    EXPECT_TRUE(p.waitForFinished() && p.exitCode() == 0) << "pdftotext failed";
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of each page, as pdftotext reads it.
QStringList PdfPages(const QString& pdf) {
    QStringList pages =
        PdfToText({QStringLiteral("-layout"), pdf, QStringLiteral("-")}).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// A word on a page and where it stands, in points from the page's top left corner.
struct Word {
    int page;
    qreal x, y;
    QString text;
};

std::vector<Word> PdfWords(const QString& pdf) {
    static const QRegularExpression tag(QString::fromLatin1(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"));
    std::vector<Word> words;
    int page = 0;
    const QString html = PdfToText({QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    for (const QRegularExpressionMatch& m : tag.globalMatch(html)) {
        if (m.captured(0) == QStringLiteral("<page ")) {
            ++page;
            continue;
        }
        words.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
    }
    return words;
}

QString Pdf(const QTemporaryDir& dir, QPrinter& printer) {
    const QString path = dir.filePath(QStringLiteral("out.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return path;
}

QStringList Lines(int count, const QString& prefix) {
    QStringList lines;
    for (int i = 1; i <= count; ++i) lines << prefix + QString::number(i);
    return lines;
}

QString Squeezed(const QString& text) {
    return text.simplified();
}

TEST(Printing, ASongPrintsHeadingTitleLinesAndPageNumbers) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = Pdf(dir, printer);
    const QString longLine = QStringLiteral("Длинная строка ").repeated(20).trimmed();
    ASSERT_TRUE(PrintSong(
        printer,
        {QStringLiteral("Кино"), QStringLiteral("Группа крови"), QStringLiteral("Кукушка"),
         QStringList{QStringLiteral("Песен ещё ненаписанных, сколько?"), QString(), longLine} +
             Lines(80, QStringLiteral("строка "))},
        QStringLiteral("DejaVu Serif")));
    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(Squeezed(pages[0]).startsWith(
        QStringLiteral("Кино — Группа крови Кукушка Песен ещё ненаписанных, сколько? Длинная "
                       "строка")));
    // The long line is wrapped, not cut: every word of it is there, over several lines.
    EXPECT_TRUE(Squeezed(pages[0]).contains(longLine));
    EXPECT_GT(pages[0].section(longLine.left(30), 1).count(u'\n'), 1);
    EXPECT_TRUE(Squeezed(pages[0]).endsWith(QStringLiteral("1")));
    EXPECT_TRUE(Squeezed(pages[1]).endsWith(QStringLiteral("строка 80 2")));
}

TEST(Printing, EveryLineOfALongSongIsPrintedOnceAcrossItsPages) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = Pdf(dir, printer);
    const QStringList lines = Lines(200, QStringLiteral("строка "));
    ASSERT_TRUE(PrintSong(
        printer,
        {QStringLiteral("Кино"), QStringLiteral("Группа крови"), QStringLiteral("Кукушка"), lines},
        QStringLiteral("DejaVu Serif")));
    const QStringList pages = PdfPages(pdf);
    EXPECT_EQ(pages.size(), 4);
    QStringList printed;
    for (const QString& page : pages)
        for (const QString& line : page.split(u'\n'))
            if (line.trimmed().startsWith(QStringLiteral("строка "))) printed << line.trimmed();
    EXPECT_EQ(printed, lines);
}

// ---- songbooks ----

PrintedAlbum Album(const QString& name, const QList<std::pair<QString, QStringList>>& songs,
                   const QImage& picture = QImage()) {
    PrintedAlbum album{QStringLiteral("Кино"), name, picture, {}};
    for (const auto& [song, lines] : songs)
        album.songs.append({album.performer, name, song, lines});
    return album;
}

SongbookOptions Options(int columns, bool contents, bool index) {
    SongbookOptions options;
    options.columns = columns;
    options.contents = contents;
    options.firstLineIndex = index;
    return options;
}

// The book printed; the PDF's path.
QString PrintBook(const QTemporaryDir& dir, const PrintedBook& book,
                  const SongbookOptions& options) {
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = Pdf(dir, printer);
    EXPECT_TRUE(PrintSongbook(printer, book, QStringLiteral("DejaVu Sans"), options));
    if (qEnvironmentVariableIsSet("KEEP_PDF")) QFile::copy(pdf, qEnvironmentVariable("KEEP_PDF"));
    return pdf;
}

// Lines of words (a chord line's chords are words far apart) with the page and the x of
// their first word.
struct PrintedLine {
    int page;
    qreal x;
    QString text;
};

std::vector<PrintedLine> PdfLines(const QString& pdf) {
    std::vector<PrintedLine> lines;
    const Word* last = nullptr;
    for (const Word& word : PdfWords(pdf)) {
        if (last && last->page == word.page && qAbs(last->y - word.y) < 1)
            lines.back().text += u' ' + word.text;
        else
            lines.push_back({word.page, word.x, word.text});
        last = &word;
    }
    return lines;
}

TEST(Songbook, ShortSongsShareAPageAndLongSongsStartOnANewOne) {
    QTemporaryDir dir;
    QList<std::pair<QString, QStringList>> songs;
    for (const QString& name :
         {QStringLiteral("Раз"), QStringLiteral("Два"), QStringLiteral("Три")})
        songs.append({name, Lines(4, name + QStringLiteral(" строка "))});
    songs.append({QStringLiteral("Длинная"), Lines(60, QStringLiteral("длинная "))});
    songs.append({QStringLiteral("Долгая"), Lines(100, QStringLiteral("долгая "))});
    const QString pdf =
        PrintBook(dir, {{Album(QStringLiteral("Ночь"), songs)}}, Options(1, false, false));

    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 4);
    EXPECT_EQ(Squeezed(pages[0]),
              QStringLiteral("Кино Ночь Раз Раз строка 1 Раз строка 2 Раз строка 3 Раз строка 4 "
                             "Два Два строка 1 Два строка 2 Два строка 3 Два строка 4 Три Три "
                             "строка 1 Три строка 2 Три строка 3 Три строка 4 1"));
    // The song of 60 lines fits on a page: it stands whole on the next one. The song of 100
    // does not: it starts at the top of a page and goes on to the next.
    EXPECT_TRUE(Squeezed(pages[1]).startsWith(QStringLiteral("Длинная длинная 1 ")));
    EXPECT_TRUE(Squeezed(pages[1]).endsWith(QStringLiteral("длинная 60 2")));
    EXPECT_TRUE(Squeezed(pages[2]).startsWith(QStringLiteral("Долгая долгая 1 ")));
    EXPECT_TRUE(Squeezed(pages[3]).endsWith(QStringLiteral("долгая 100 4")));
    QStringList printed;
    for (const PrintedLine& line : PdfLines(pdf))
        if (line.text.startsWith(QStringLiteral("длинная ")) ||
            line.text.startsWith(QStringLiteral("долгая ")))
            printed << line.text;
    EXPECT_EQ(printed,
              Lines(60, QStringLiteral("длинная ")) + Lines(100, QStringLiteral("долгая ")));
}

TEST(Songbook, TwoColumnsStandSideBySideAndASongThatFitsOneIsNeverSplit) {
    QTemporaryDir dir;
    QList<std::pair<QString, QStringList>> songs;
    for (int s = 1; s <= 12; ++s)
        songs.append({QStringLiteral("Песня %1").arg(s),
                      Lines(14 + s % 3 * 5, QStringLiteral("песня %1 строка ").arg(s))});
    const QString pdf =
        PrintBook(dir, {{Album(QStringLiteral("Ночь"), songs)}}, Options(2, false, false));

    std::map<int, std::set<qreal>> columnsOfPage;
    std::map<QString, std::set<std::pair<int, qreal>>> placesOfSong;
    for (const PrintedLine& line : PdfLines(pdf)) {
        const QStringList words = line.text.split(u' ');
        if (words.size() != 4 || words[0] != QStringLiteral("песня")) continue;
        columnsOfPage[line.page].insert(qRound(line.x));
        placesOfSong[words[1]].insert({line.page, qRound(line.x)});
    }
    ASSERT_EQ(placesOfSong.size(), 12u);
    for (const auto& [song, places] : placesOfSong)
        EXPECT_EQ(places.size(), 1u) << song.toStdString();
    EXPECT_EQ(columnsOfPage[1].size(), 2u);
    EXPECT_EQ(columnsOfPage[2].size(), 2u);
}

TEST(Songbook, ContentsAndIndexGiveThePagesTheSongsStandOn) {
    QTemporaryDir dir;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    const auto song = [](const char* name, const char* first, int lines) {
        return std::pair{QString::fromUtf8(name),
                         QStringList{QString(), QStringLiteral("Am  C"), QString::fromUtf8(first)} +
                             Lines(lines, QString::fromUtf8(name) + u' ')};
    };
    const PrintedBook book{
        {Album(QStringLiteral("Первый"),
               {song("Зимняя", "зима пришла", 3), song("Большая", "Яблоко упало", 70),
                song("Ёлочная", "Ёлка в лесу", 3)},
               picture),
         Album(QStringLiteral("Пустой"), {}),
         Album(QStringLiteral("Третий"),
               {song("Ельник", "Ель зелёная", 3), song("Арбузная", "«Арбуз», — сказал он", 3)})}};
    const QStringList pages = PdfPages(PrintBook(dir, book, Options(1, true, true)));

    ASSERT_EQ(pages.size(), 7);
    EXPECT_EQ(Squeezed(pages[0]),
              QStringLiteral("Содержание Первый 2 Зимняя 2 Большая 3 Ёлочная 4 Пустой 5 Третий 6 "
                             "Ельник 6 Арбузная 6 1"));
    EXPECT_TRUE(Squeezed(pages[1]).startsWith(QStringLiteral("Кино Первый Зимняя Am C зима")));
    EXPECT_TRUE(Squeezed(pages[2]).startsWith(QStringLiteral("Большая Am C Яблоко упало")));
    EXPECT_TRUE(Squeezed(pages[3]).contains(QStringLiteral(" Ёлочная Am C Ёлка в лесу ")));
    EXPECT_EQ(Squeezed(pages[4]), QStringLiteral("Кино Пустой 5"));
    EXPECT_TRUE(Squeezed(pages[5]).startsWith(QStringLiteral("Кино Третий Ельник")));
    EXPECT_EQ(Squeezed(pages[6]),
              QStringLiteral("Указатель по первым строкам «Арбуз», — сказал он — Арбузная 6 Ёлка "
                             "в лесу — Ёлочная 4 Ель зелёная — Ельник 6 зима пришла — Зимняя 2 "
                             "Яблоко упало — Большая 3 7"));
}

TEST(Songbook, AChordStandsOverTheCharacterItWasOver) {
    QTemporaryDir dir;
    const QString pdf = PrintBook(
        dir,
        {{Album(QStringLiteral("Ночь"),
                {{QStringLiteral("Снег"),
                  {QStringLiteral("Am    C     G7"), QStringLiteral("Белый снег, серый лёд"),
                   QStringLiteral("Dm"), QString(), QStringLiteral("E  E7")}}})}},
        Options(1, false, false));
    std::map<QString, Word> at;
    for (const Word& word : PdfWords(pdf)) at.insert({word.text, word});
    for (const auto& [chord, word] : {std::pair{"Am", "Белый"}, {"C", "снег,"}, {"G7", "серый"}}) {
        EXPECT_NEAR(at.at(chord).x, at.at(word).x, 0.5) << chord;
        EXPECT_LT(at.at(chord).y, at.at(word).y) << chord;
    }
    // A chord line with no words under it prints as it is.
    EXPECT_LT(at.at("Dm").y, at.at("E7").y);
    EXPECT_LT(at.at("E").x, at.at("E7").x);
}

TEST(Songbook, ChordLinesAreLinesOfChordNamesOnly) {
    for (const auto& [line, chords] : std::initializer_list<std::pair<const char*, bool>>{
             {"Am   C   G7  D/F#", true},
             {"  Hm Fis", false},
             {"Cmaj7 Dsus4 Bb A7(b9) C+ Edim", true},
             {"Hm  E7", true},
             {"Am I wrong", false},
             {"Белый снег", false},
             {"C  x2", false},
             {"   ", false}})
        EXPECT_EQ(IsChordLine(QString::fromUtf8(line)), chords) << line;
}

}  // namespace
