// Songs and songbooks printed to PDF, read back with pdftotext.
#include <gtest/gtest.h>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include "printing/SongPrint.h"

namespace {

// The text of each page, as pdftotext reads it.
QStringList PdfPages(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished() && p.exitCode() == 0) << "pdftotext failed";
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
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

TEST(Printing, AnAlbumPrintsAsASongbookWhoseContentsGiveThePages) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = Pdf(dir, printer);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    PrintedAlbum album{
        QStringLiteral("Кино"), QStringLiteral("Звезда по имени Солнце"), picture, {}};
    for (const auto& [name, lines] : {std::pair{"Первая", 3}, {"Длинная", 90}, {"Третья", 2}})
        album.songs.append({album.performer, album.album, QString::fromUtf8(name),
                            Lines(lines, QString::fromUtf8(name) + u' ')});
    ASSERT_TRUE(PrintAlbum(printer, album, QStringLiteral("DejaVu Sans")));
    if (qEnvironmentVariableIsSet("KEEP_PDF")) QFile::copy(pdf, qEnvironmentVariable("KEEP_PDF"));

    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 6);
    EXPECT_EQ(Squeezed(pages[0]), QStringLiteral("Кино Звезда по имени Солнце 1"));
    EXPECT_EQ(Squeezed(pages[1]), QStringLiteral("Содержание Первая 3 Длинная 4 Третья 6 2"));
    const auto starts = [&](int page, const char* song) {
        EXPECT_TRUE(Squeezed(pages[page - 1])
                        .startsWith(QStringLiteral("Кино — Звезда по имени Солнце ") +
                                    QString::fromUtf8(song) + u' ' + QString::fromUtf8(song) +
                                    QStringLiteral(" 1")))
            << page << ": " << pages[page - 1].toStdString();
    };
    starts(3, "Первая");
    starts(4, "Длинная");
    starts(6, "Третья");
    EXPECT_TRUE(Squeezed(pages[4]).endsWith(QStringLiteral("Длинная 90 5")));
}

}  // namespace
