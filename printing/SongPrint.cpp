#include "printing/SongPrint.h"

#include "printing/PageFooter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Font sizes in points.
constexpr qreal kHeadingPt = 9, kTitlePt = 16, kTextPt = 11;

// A paper page: the text body above a strip for the page number.
class Pages {
  public:
    Pages(QPrinter& printer, QTextDocument& doc, const QString& fontFace)
        : printer_(printer), doc_(doc), face_(fontFace) {
        doc_.documentLayout()->setPaintDevice(&printer_);
        doc_.setDocumentMargin(0);
        const QRectF page = printer_.pageRect(QPrinter::DevicePixel);
        doc_.setPageSize(QSizeF(page.width(), page.height() - FooterHeight(printer_)));
        doc_.setDefaultFont(font(kTextPt));
        doc_.setDefaultTextOption(QTextOption(Qt::AlignLeft));
    }

    // Lengths in a text format (margins, tab stops) are taken in screen pixels and scaled to
    // the printer by the layout; the page size is in the printer's pixels.
    static qreal length(qreal points) { return points * 96 / 72.0; }

    QFont font(qreal points, bool bold = false) const {
        QFont f(face_);
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }

    // False when the printer or its file could not be opened, or the file was not written
    // whole.
    bool print() {
        QPainter painter;
        if (!painter.begin(&printer_)) return false;
        const int count = doc_.pageCount();
        const qreal height = doc_.pageSize().height();
        for (int page = 0; page < count; ++page) {
            if (page > 0 && !printer_.newPage()) return false;
            painter.save();
            painter.translate(0, -page * height);
            QAbstractTextDocumentLayout::PaintContext context;
            // The layout moves every line that would cross a page's end to the next page; a
            // clip a pixel short keeps the first block of that page out of this one's text.
            context.clip = QRectF(0, page * height, doc_.pageSize().width(), height - 1);
            painter.setClipRect(context.clip);
            doc_.documentLayout()->draw(&painter, context);
            painter.restore();
            DrawPageNumber(painter, printer_, face_, page + 1);
        }
        return painter.end() && FileWrittenWhole(printer_);
    }

  private:
    QPrinter& printer_;
    QTextDocument& doc_;
    QString face_;
};

QTextCharFormat CharFormat(const QFont& font) {
    QTextCharFormat format;
    format.setFont(font);
    return format;
}

// Blocks added one after the other; the document's own first block is the first of them.
class Blocks {
  public:
    explicit Blocks(QTextDocument& doc) : cursor_(&doc) {}
    void add(const QString& text, const QFont& font,
             const QTextBlockFormat& format = QTextBlockFormat()) {
        if (first_) {
            cursor_.setBlockFormat(format);
            cursor_.setBlockCharFormat(CharFormat(font));
            first_ = false;
        } else {
            cursor_.insertBlock(format, CharFormat(font));
        }
        cursor_.insertText(text, CharFormat(font));
    }

  private:
    QTextCursor cursor_;
    bool first_ = true;
};

QTextBlockFormat Spaced(qreal below) {
    QTextBlockFormat format;
    format.setBottomMargin(below);
    return format;
}

}  // namespace

void SetUpPrinter(QPrinter& printer, const QString& documentName) {
    printer.setDocName(documentName);
    printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
}

bool PrintSong(QPrinter& printer, const PrintedSong& song, const QString& fontFace) {
    QTextDocument doc;
    Pages pages(printer, doc, fontFace);
    Blocks blocks(doc);
    blocks.add(song.performer + QStringLiteral(" — ") + song.album, pages.font(kHeadingPt),
               Spaced(pages.length(4)));
    blocks.add(song.name, pages.font(kTitlePt, true), Spaced(pages.length(12)));
    for (const QString& line : song.lines) blocks.add(line, pages.font(kTextPt));
    return pages.print();
}
