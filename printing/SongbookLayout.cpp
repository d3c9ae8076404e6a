#include "printing/SongbookLayout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>

Paragraph::Paragraph(const QString& text, const QFont& font, const QPaintDevice* device)
    : font_(font), device_(device), layout_(text, font, device) {
    layout_.setCacheEnabled(true);
}

void Paragraph::setAlignment(Qt::Alignment alignment) {
    QTextOption option = layout_.textOption();
    option.setAlignment(alignment);
    layout_.setTextOption(option);
}

void Paragraph::setFormats(const QList<QTextLayout::FormatRange>& formats) {
    layout_.setFormats(formats);
}

void Paragraph::layOut(qreal width, qreal hanging) {
    layout_.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
        const bool first = line.lineNumber() == 0;
        line.setLineWidth(first ? width : width - hanging);
        line.setPosition(QPointF(first ? 0 : hanging, y));
        y += line.height();
    }
    layout_.endLayout();
    chords_.assign(layout_.lineCount(), {});
}

void Paragraph::setChords(const QList<ChordAt>& chords, const QFont& chordFont) {
    chordFont_ = chordFont;
    const QFontMetricsF chordMetrics(chordFont_, device_);
    const qreal space = chordMetrics.horizontalAdvance(u' ');
    const int length = int(layout_.text().size());
    for (const ChordAt& chord : chords) {
        // A chord past the end of the words stands that many blanks after the last one.
        const int at = qMin(chord.column, length);
        const QTextLine line =
            at < length ? layout_.lineForTextPosition(at) : layout_.lineAt(layout_.lineCount() - 1);
        if (!line.isValid()) continue;
        qreal x = line.cursorToX(at) +
                  (chord.column - at) * QFontMetricsF(font_, device_).horizontalAdvance(u' ');
        std::vector<Chord>& over = chords_[line.lineNumber()];
        if (!over.empty())
            x = qMax(x, over.back().x + chordMetrics.horizontalAdvance(over.back().name) + space);
        over.push_back({chord.name, x});
    }
}

qreal Paragraph::chordStrip(int line) const {
    return chords_[line].empty() ? 0 : QFontMetricsF(chordFont_, device_).height();
}

qreal Paragraph::lineHeight(int line) const {
    return chordStrip(line) + layout_.lineAt(line).height();
}

qreal Paragraph::baseline(int line) const {
    return chordStrip(line) + layout_.lineAt(line).ascent();
}

void Paragraph::drawLine(QPainter& painter, int line, const QPointF& topLeft) const {
    const QTextLine text = layout_.lineAt(line);
    const qreal strip = chordStrip(line);
    text.draw(&painter, QPointF(topLeft.x(), topLeft.y() + strip - text.y()));
    if (chords_[line].empty()) return;
    painter.setFont(chordFont_);
    const qreal ascent = QFontMetricsF(chordFont_, device_).ascent();
    for (const Chord& chord : chords_[line])
        painter.drawText(QPointF(topLeft.x() + chord.x, topLeft.y() + ascent), chord.name);
}

qreal Block::height() const {
    qreal sum = 0;
    for (const Row& row : rows) sum += row.height;
    return sum;
}

qreal Block::openingHeight() const {
    qreal sum = 0;
    for (std::size_t i = 0; i < openingRows && i < rows.size(); ++i) sum += rows[i].height;
    return sum;
}

Flow::Flow(QSizeF body, int columns, qreal gutter)
    : body_(body),
      columns_(qMax(1, columns)),
      gutter_(gutter),
      columnWidth_((body.width() - gutter * (columns_ - 1)) / columns_) {}

void Flow::startPage() {
    if (!pages_.empty() && pages_.back().empty()) return;
    pages_.emplace_back();
    column_ = 0;
    columnTop_ = y_ = 0;
    columnEmpty_ = true;
}

void Flow::addHeading(const std::vector<Row>& rows) {
    startPage();
    for (const Row& row : rows) place(row, 0, body_.width());
    columnTop_ = y_;
}

int Flow::addBlock(const Block& block) {
    if (pages_.empty()) startPage();
    const qreal height = block.height();
    if (!columnEmpty_ && block.spaceBefore + height > room()) nextColumn();
    // The columns under a heading are shorter: a block that fits a whole column goes on to
    // one that takes it whole, a longer one to one that takes its opening.
    const qreal needed = height <= body_.height() ? height : block.openingHeight();
    while (needed > room() && !(columnEmpty_ && columnTop_ == 0)) nextColumn();
    if (!columnEmpty_) y_ += block.spaceBefore;
    const int first = page();
    for (const Row& row : block.rows) {
        if (!columnEmpty_ && row.height > room()) nextColumn();
        if (columnEmpty_ && row.blank()) continue;  // no column opens with an empty line
        place(row, column_ * (columnWidth_ + gutter_), columnWidth_);
        columnEmpty_ = false;
    }
    return first;
}

void Flow::nextColumn() {
    if (++column_ >= columns_) {
        pages_.emplace_back();
        column_ = 0;
        columnTop_ = 0;
    }
    y_ = columnTop_;
    columnEmpty_ = true;
}

void Flow::place(const Row& row, qreal x, qreal width) {
    pages_.back().push_back({row, QPointF(x, y_), width});
    y_ += row.height;
}
