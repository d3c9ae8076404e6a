// A performer's songbook of 300 songs (contents, index of first lines, chord lines) laid out and
// written as PDF, against drawing the same text as one plain QTextDocument into a PDF.
#include <QGuiApplication>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>

#include "bench/Ratio.h"
#include "printing/Songbook.h"

namespace {

constexpr int kAlbums = 15, kSongsPerAlbum = 20, kVerses = 4, kLinesPerVerse = 5;
const QString kFace = QStringLiteral("DejaVu Sans");

// Songs of four verses; every other line of words has a chord line over it.
PrintedBook MakeBook() {
    PrintedBook book;
    for (int a = 1; a <= kAlbums; ++a) {
        PrintedAlbum album{
            QStringLiteral("Исполнитель"), QStringLiteral("Альбом %1").arg(a), QImage(), {}};
        for (int s = 1; s <= kSongsPerAlbum; ++s) {
            PrintedSong song{
                album.performer, album.album, QStringLiteral("Песня %1-%2").arg(a).arg(s), {}};
            for (int v = 0; v < kVerses; ++v) {
                for (int l = 0; l < kLinesPerVerse; ++l) {
                    if (l % 2 == 0) song.lines << QStringLiteral("Am      C        G7     Dm");
                    song.lines << QStringLiteral("%1 строка куплета %2, слова песни номер %3")
                                      .arg(QChar(u'А' + (a * 7 + s * 3 + l) % 32))
                                      .arg(v + 1)
                                      .arg(s);
                }
                song.lines << QString();
            }
            album.songs.append(song);
        }
        book.albums.append(album);
    }
    return book;
}

const PrintedBook& Book() {
    static const PrintedBook book = MakeBook();
    return book;
}

QString PlainText() {
    QStringList text;
    for (const PrintedAlbum& album : Book().albums)
        for (const PrintedSong& song : album.songs) text << song.name << song.lines;
    return text.join(u'\n');
}

void Pdf(QPrinter& printer, const QTemporaryDir& dir) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("book.pdf")));
}

void PlainDocument(benchmark::State& state) {
    const QString text = PlainText();
    QTemporaryDir dir;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        Pdf(printer, dir);
        QTextDocument doc;
        QFont font(kFace);
        font.setPointSize(10);
        doc.setDefaultFont(font);
        doc.setPlainText(text);
        doc.print(&printer);
    }
}
BENCHMARK(PlainDocument)->Unit(benchmark::kMillisecond);

void PerformerSongbook(benchmark::State& state) {
    Book();
    QTemporaryDir dir;
    SongbookOptions options;
    options.columns = 2;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        Pdf(printer, dir);
        if (!PrintSongbook(printer, Book(), kFace, options)) state.SkipWithError("not printed");
    }
}
BENCHMARK(PerformerSongbook)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return RunWithRatios(argc, argv, {{"PerformerSongbook", "PlainDocument", 3.0}});
}
