#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QTextLayout>
#include <vector>

#include "printing/ChordLine.h"

class QPaintDevice;
class QPainter;

// The songbook's layout: text broken into lines of print, and lines flowed into the columns
// of pages. Lengths are in the printer's pixels.
//
// QTextDocument pages a document by itself, but it knows neither columns nor "keep this song
// whole", and it cannot set a chord over a character of the line below; so the book places
// every line itself and uses Qt's QTextLayout only to break and draw the lines.

// One paragraph broken into lines; each line may carry chords over it.
class Paragraph {
  public:
    Paragraph(const QString& text, const QFont& font, const QPaintDevice* device);
    Paragraph(const Paragraph&) = delete;
    Paragraph& operator=(const Paragraph&) = delete;

    void setAlignment(Qt::Alignment alignment);
    void setFormats(const QList<QTextLayout::FormatRange>& formats);
    // Breaks the text into lines of `width`; lines after the first stand `hanging` further in.
    void layOut(qreal width, qreal hanging = 0);
    // Sets the chords over the characters they stood over (after layOut); a chord that would
    // run into the one before it moves right.
    void setChords(const QList<ChordAt>& chords, const QFont& chordFont);

    const QFont& font() const { return font_; }
    int lineCount() const { return layout_.lineCount(); }
    // A line's height with the strip of chords over it.
    qreal lineHeight(int line) const;
    // The distance from the top of a line (chords included) to its text's baseline.
    qreal baseline(int line) const;
    void drawLine(QPainter& painter, int line, const QPointF& topLeft) const;

  private:
    struct Chord {
        QString name;
        qreal x;
    };
    qreal chordStrip(int line) const;

    QFont font_;
    const QPaintDevice* device_;
    QTextLayout layout_;
    QFont chordFont_;
    std::vector<std::vector<Chord>> chords_;  // per line
};

// A line of print: a line of a paragraph, a picture, or an empty space.
struct Row {
    const Paragraph* paragraph = nullptr;
    int line = 0;
    QImage picture;
    QSizeF pictureSize;
    qreal height = 0;
    qreal indent = 0;
    // Contents and index: the entry whose page number stands at the right end of the row.
    int entry = -1;

    bool blank() const { return !paragraph && picture.isNull(); }
};

// Rows that stay together when they fit in one column: a song, or an entry of the contents.
struct Block {
    std::vector<Row> rows;
    qreal spaceBefore = 0;  // left out at the top of a column
    // The first rows stand in one column even when the block is split (a song's title with
    // its first line).
    std::size_t openingRows = 1;
    qreal height() const;
    qreal openingHeight() const;
};

struct PlacedRow {
    Row row;
    QPointF topLeft;
    qreal width = 0;  // the column's (or the page's, above the columns)
};

// Pages of columns filled from the top, column after column.
class Flow {
  public:
    Flow(QSizeF body, int columns, qreal gutter);
    qreal columnWidth() const { return columnWidth_; }
    qreal bodyWidth() const { return body_.width(); }
    qreal bodyHeight() const { return body_.height(); }

    // What follows starts on a new page; a page that holds nothing yet is taken as it is.
    void startPage();
    // Rows across the whole width of the page, above its columns (a heading); on a new page.
    void addHeading(const std::vector<Row>& rows);
    // A block in the columns: after what the column holds when it fits there whole, else at
    // the top of the next column that takes it whole; a block longer than a column starts at
    // the top of one and goes on in the next. Returns the 0-based page it starts on.
    int addBlock(const Block& block);

    const std::vector<std::vector<PlacedRow>>& pages() const { return pages_; }
    // The 0-based page that takes what comes next.
    int page() const { return int(pages_.size()) - 1; }

  private:
    void nextColumn();
    qreal room() const { return body_.height() - y_; }
    void place(const Row& row, qreal x, qreal width);

    QSizeF body_;
    int columns_;
    qreal gutter_;
    qreal columnWidth_;
    std::vector<std::vector<PlacedRow>> pages_;
    int column_ = 0;
    qreal columnTop_ = 0;  // below the page's heading
    qreal y_ = 0;
    bool columnEmpty_ = true;
};
