#include "printing/Songbook.h"

#include <QCollator>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <deque>

#include "printing/ChordLine.h"
#include "printing/PageFooter.h"
#include "printing/SongbookLayout.h"

namespace {

constexpr qreal kGutterMm = 8;
// Sizes against the lyrics' size.
constexpr qreal kSongTitle = 1.25, kHeadingTitle = 1.8;

const QString kDash = QStringLiteral(" — ");

bool Blank(const QString& line) {
    return line.trimmed().isEmpty();
}

// The first line of the words: chord lines and empty lines are passed over; a song without
// words is listed by its name.
QString FirstLine(const PrintedSong& song) {
    for (const QString& line : song.lines)
        if (!Blank(line) && !IsChordLine(line)) return line.trimmed();
    return song.name;
}

// Entries that carry a page number: every album and every song of the book, numbered in book
// order, so that the contents can name them before their pages are known.
class Entries {
  public:
    explicit Entries(const PrintedBook& book) {
        for (const PrintedAlbum& album : book.albums) {
            firstOfAlbum_.push_back(count_);
            count_ += 1 + int(album.songs.size());
        }
        pages_.assign(count_, 0);
    }
    int album(qsizetype a) const { return firstOfAlbum_[a]; }
    int song(qsizetype a, qsizetype s) const { return firstOfAlbum_[a] + 1 + int(s); }
    void setPage(int entry, int page) { pages_[entry] = page; }
    int page(int entry) const { return pages_[entry]; }

  private:
    std::vector<int> firstOfAlbum_;
    std::vector<int> pages_;
    int count_ = 0;
};

// The songbook laid out page by page, then drawn.
class Book {
  public:
    Book(QPrinter& printer, const PrintedBook& book, const QString& face,
         const SongbookOptions& options)
        : printer_(printer),
          book_(book),
          face_(face),
          options_(options),
          entries_(book),
          flow_(Body(printer), options.columns, kGutterMm * printer.resolution() / 25.4),
          lineHeight_(QFontMetricsF(font(1), &printer).height()) {}

    void addContents();
    void addAlbums();
    void addIndex();
    bool print();

  private:
    static QSizeF Body(const QPrinter& printer) {
        const QRectF page = printer.pageRect(QPrinter::DevicePixel);
        return QSizeF(page.width(), page.height() - FooterHeight(printer));
    }
    QFont font(qreal scale, bool bold = false) const {
        QFont f(face_);
        f.setPointSizeF(options_.fontPt * scale);
        f.setBold(bold);
        return f;
    }
    qreal em(const QFont& f) const { return QFontMetricsF(f, &printer_).horizontalAdvance(u'M'); }
    Paragraph& paragraph(const QString& text, const QFont& f) {
        return paragraphs_.emplace_back(text, f, &printer_);
    }
    static void addLines(std::vector<Row>& rows, const Paragraph& p, qreal indent = 0,
                         int entry = -1);
    static Row space(qreal height) {
        Row row;
        row.height = height;
        return row;
    }
    std::vector<Row> heading(const QStringList& titles, const QImage& picture);
    Block song(const PrintedSong& song);
    Block entry(const QString& text, const QFont& f, qreal indent, int entry,
                const QList<QTextLayout::FormatRange>& formats = {});
    void drawRow(QPainter& painter, const PlacedRow& placed) const;

    QPrinter& printer_;
    const PrintedBook& book_;
    QString face_;
    SongbookOptions options_;
    Entries entries_;
    Flow flow_;
    qreal lineHeight_;
    std::deque<Paragraph> paragraphs_;  // the rows point into them
};

void Book::addLines(std::vector<Row>& rows, const Paragraph& p, qreal indent, int entry) {
    for (int line = 0; line < p.lineCount(); ++line) {
        Row row;
        row.paragraph = &p;
        row.line = line;
        row.height = p.lineHeight(line);
        row.indent = indent;
        // A wrapped entry carries its number on its last line.
        if (line == p.lineCount() - 1) row.entry = entry;
        rows.push_back(row);
    }
}

// The centred titles across the page, then the picture (fitted into 60 % of the width and a
// third of the height), then a line of space.
std::vector<Row> Book::heading(const QStringList& titles, const QImage& picture) {
    std::vector<Row> rows;
    for (qsizetype i = 0; i < titles.size(); ++i) {
        const bool main = i == titles.size() - 1;
        Paragraph& p = paragraph(titles[i], font(main ? kHeadingTitle : 1, main));
        p.setAlignment(Qt::AlignHCenter);
        p.layOut(flow_.bodyWidth());
        addLines(rows, p);
    }
    if (options_.pictures && !picture.isNull()) {
        rows.push_back(space(lineHeight_ / 2));
        Row row;
        row.picture = picture;
        row.pictureSize =
            QSizeF(picture.size())
                .scaled(flow_.bodyWidth() * 0.6, flow_.bodyHeight() / 3, Qt::KeepAspectRatio);
        row.height = row.pictureSize.height();
        rows.push_back(row);
    }
    rows.push_back(space(lineHeight_));
    return rows;
}

// The title, then the words; a chord line goes over the line of words below it, and a line
// too long for the column goes on, indented, below.
Block Book::song(const PrintedSong& printed) {
    Block block;
    block.spaceBefore = lineHeight_;
    Paragraph& title = paragraph(printed.name, font(kSongTitle, true));
    title.layOut(flow_.columnWidth(), em(title.font()));
    addLines(block.rows, title);
    block.rows.push_back(space(lineHeight_ / 3));
    block.openingRows = block.rows.size() + 1;  // the title is never a column's last line

    const QStringList& lines = printed.lines;
    qsizetype first = 0, end = lines.size();
    while (first < end && Blank(lines[first])) ++first;
    while (end > first && Blank(lines[end - 1])) --end;
    const QFont text = font(1), chords = font(1, true);
    for (qsizetype i = first; i < end; ++i) {
        if (Blank(lines[i])) {
            block.rows.push_back(space(lineHeight_));
            continue;
        }
        const bool chordLine = IsChordLine(lines[i]);
        const bool overWords =
            chordLine && i + 1 < end && !Blank(lines[i + 1]) && !IsChordLine(lines[i + 1]);
        Paragraph& p =
            paragraph(lines[overWords ? i + 1 : i], chordLine && !overWords ? chords : text);
        p.layOut(flow_.columnWidth(), em(text));
        if (overWords) p.setChords(ChordsOf(lines[i++]), chords);
        addLines(block.rows, p);
    }
    return block;
}

// A line of the contents or the index: its text, wrapped short of the page number's room.
Block Book::entry(const QString& text, const QFont& f, qreal indent, int entry,
                  const QList<QTextLayout::FormatRange>& formats) {
    Block block;
    Paragraph& p = paragraph(text, f);
    p.setFormats(formats);
    const qreal numberRoom = QFontMetricsF(f, &printer_).horizontalAdvance(QStringLiteral(" 0000"));
    p.layOut(flow_.columnWidth() - indent - numberRoom, em(f));
    addLines(block.rows, p, indent, entry);
    return block;
}

void Book::addContents() {
    if (!options_.contents) return;
    flow_.startPage();
    flow_.addHeading(heading({QStringLiteral("Содержание")}, QImage()));
    for (qsizetype a = 0; a < book_.albums.size(); ++a) {
        const PrintedAlbum& album = book_.albums[a];
        Block albumEntry = entry(album.album, font(1, true), 0, entries_.album(a));
        albumEntry.spaceBefore = lineHeight_ / 2;
        flow_.addBlock(albumEntry);
        for (qsizetype s = 0; s < album.songs.size(); ++s)
            flow_.addBlock(entry(album.songs[s].name, font(1), em(font(1)), entries_.song(a, s)));
    }
}

void Book::addAlbums() {
    for (qsizetype a = 0; a < book_.albums.size(); ++a) {
        const PrintedAlbum& album = book_.albums[a];
        flow_.startPage();
        flow_.addHeading(heading({album.performer, album.album}, album.picture));
        entries_.setPage(entries_.album(a), flow_.page());
        for (qsizetype s = 0; s < album.songs.size(); ++s)
            entries_.setPage(entries_.song(a, s), flow_.addBlock(song(album.songs[s])));
    }
}

// The first lines in Russian alphabetical order (the collation of the Russian locale: Ё with
// Е, small and capital letters together), each with its song's name in italics.
void Book::addIndex() {
    if (!options_.firstLineIndex) return;
    struct Line {
        QString first;
        QString song;
        int entry;
    };
    std::vector<Line> lines;
    for (qsizetype a = 0; a < book_.albums.size(); ++a)
        for (qsizetype s = 0; s < book_.albums[a].songs.size(); ++s) {
            const PrintedSong& printed = book_.albums[a].songs[s];
            lines.push_back({FirstLine(printed), printed.name, entries_.song(a, s)});
        }
    QCollator collator(QLocale(QLocale::Russian, QLocale::Russia));
    std::stable_sort(lines.begin(), lines.end(), [&](const Line& x, const Line& y) {
        const int order = collator.compare(x.first, y.first);
        return order != 0 ? order < 0 : collator.compare(x.song, y.song) < 0;
    });
    flow_.startPage();
    flow_.addHeading(heading({QStringLiteral("Указатель по первым строкам")}, QImage()));
    QTextLayout::FormatRange italic;
    italic.format.setFontItalic(true);
    for (const Line& line : lines) {
        italic.start = int(line.first.size() + kDash.size());
        italic.length = int(line.song.size());
        flow_.addBlock(entry(line.first + kDash + line.song, font(1), 0, line.entry, {italic}));
    }
}

void Book::drawRow(QPainter& painter, const PlacedRow& placed) const {
    const Row& row = placed.row;
    const QPointF at = placed.topLeft + QPointF(row.indent, 0);
    if (!row.picture.isNull()) {
        const QSizeF size = row.pictureSize;
        painter.drawImage(QRectF(at + QPointF((placed.width - size.width()) / 2, 0), size),
                          row.picture);
    }
    if (!row.paragraph) return;
    row.paragraph->drawLine(painter, row.line, at);
    if (row.entry < 0) return;
    const QString number = QString::number(entries_.page(row.entry) + 1);
    const QFont& f = row.paragraph->font();
    painter.setFont(f);
    const qreal width = QFontMetricsF(f, &printer_).horizontalAdvance(number);
    painter.drawText(QPointF(placed.topLeft.x() + placed.width - width,
                             placed.topLeft.y() + row.paragraph->baseline(row.line)),
                     number);
}

bool Book::print() {
    if (flow_.pages().empty()) flow_.startPage();  // a book of nothing is one empty page
    const auto& pages = flow_.pages();
    QPainter painter;
    if (!painter.begin(&printer_)) return false;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0 && !printer_.newPage()) return false;
        for (const PlacedRow& placed : pages[page]) drawRow(painter, placed);
        DrawPageNumber(painter, printer_, face_, int(page) + 1);
    }
    return painter.end() && FileWrittenWhole(printer_);
}

}  // namespace

int SongbookFontSize(int lyricsPt) {
    return qBound(10, lyricsPt, 16);
}

bool PrintSongbook(QPrinter& printer, const PrintedBook& book, const QString& fontFace,
                   const SongbookOptions& options) {
    Book laidOut(printer, book, fontFace, options);
    // The contents come first, but they take as many lines whatever their numbers are, so
    // the songs' pages are known once the albums are laid out after them.
    laidOut.addContents();
    laidOut.addAlbums();
    laidOut.addIndex();
    return laidOut.print();
}
