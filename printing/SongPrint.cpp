#include "printing/SongPrint.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVariant>

namespace {

// Font sizes in points.
constexpr qreal kHeadingPt = 9, kTitlePt = 16, kTextPt = 11, kFooterPt = 9;
constexpr qreal kBookTitlePt = 24;
const QString kPicture = QStringLiteral("cantoria-album-picture");

// Qt's PDF writer carries on past a write that fails (a full disk leaves the file cut short
// and reports nothing), so the file is read back: a PDF written to its end holds the end-of-file
// marker in its last 1024 bytes, where readers look for it. Output to a printer's queue has no
// file to read.
bool FileWrittenWhole(const QPrinter& printer) {
    if (printer.outputFileName().isEmpty()) return true;
    constexpr qint64 kTail = 1024;
    QFile file(printer.outputFileName());
    if (!file.open(QIODevice::ReadOnly)) return false;
    const qint64 size = file.size();
    return size > 0 && file.seek(qMax<qint64>(0, size - kTail)) &&
           file.read(kTail).contains("%%EOF");
}

// A paper page: the text body above a strip for the page number.
class Pages {
  public:
    Pages(QPrinter& printer, QTextDocument& doc, const QString& fontFace)
        : printer_(printer), doc_(doc), face_(fontFace) {
        doc_.documentLayout()->setPaintDevice(&printer_);
        doc_.setDocumentMargin(0);
        const QRectF page = printer_.pageRect(QPrinter::DevicePixel);
        footer_ = 3 * kFooterPt * printer_.resolution() / 72.0;
        doc_.setPageSize(QSizeF(page.width(), page.height() - footer_));
        doc_.setDefaultFont(font(kTextPt));
        doc_.setDefaultTextOption(QTextOption(Qt::AlignLeft));
    }

    // Lengths in a text format (margins, tab stops, image sizes) are taken in screen pixels
    // and scaled to the printer by the layout; the page size is in the printer's pixels.
    static qreal length(qreal points) { return points * 96 / 72.0; }
    qreal pageWidth() const { return doc_.pageSize().width() * 96 / printer_.resolution(); }

    QFont font(qreal points, bool bold = false) const {
        QFont f(face_);
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }

    // The 1-based page on which a block starts.
    int pageOf(const QTextBlock& block) const {
        const qreal top = doc_.documentLayout()->blockBoundingRect(block).top();
        return int(top / doc_.pageSize().height()) + 1;
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
            painter.setFont(font(kFooterPt));
            painter.drawText(QRectF(0, height, doc_.pageSize().width(), footer_),
                             Qt::AlignHCenter | Qt::AlignBottom, QString::number(page + 1));
        }
        return painter.end() && FileWrittenWhole(printer_);
    }

  private:
    QPrinter& printer_;
    QTextDocument& doc_;
    QString face_;
    qreal footer_ = 0;
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
    QTextCursor& cursor() { return cursor_; }
    QTextBlock add(const QString& text, const QFont& font,
                   const QTextBlockFormat& format = QTextBlockFormat()) {
        if (first_) {
            cursor_.setBlockFormat(format);
            cursor_.setBlockCharFormat(CharFormat(font));
            first_ = false;
        } else {
            cursor_.insertBlock(format, CharFormat(font));
        }
        cursor_.insertText(text, CharFormat(font));
        return cursor_.block();
    }

  private:
    QTextCursor cursor_;
    bool first_ = true;
};

QTextBlockFormat Spaced(qreal below, bool newPage = false) {
    QTextBlockFormat format;
    format.setBottomMargin(below);
    if (newPage) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return format;
}

// The song from the cursor on; returns the block of its heading.
QTextBlock AddSong(Blocks& blocks, const Pages& pages, const PrintedSong& song, bool newPage) {
    const QTextBlock heading = blocks.add(song.performer + QStringLiteral(" — ") + song.album,
                                          pages.font(kHeadingPt), Spaced(pages.length(4), newPage));
    blocks.add(song.name, pages.font(kTitlePt, true), Spaced(pages.length(12)));
    for (const QString& line : song.lines) blocks.add(line, pages.font(kTextPt));
    return heading;
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
    AddSong(blocks, pages, song, false);
    return pages.print();
}

bool PrintAlbum(QPrinter& printer, const PrintedAlbum& album, const QString& fontFace) {
    QTextDocument doc;
    Pages pages(printer, doc, fontFace);
    Blocks blocks(doc);
    QTextBlockFormat centred = Spaced(pages.length(12));
    centred.setAlignment(Qt::AlignHCenter);
    blocks.add(album.performer, pages.font(kTitlePt), centred);
    blocks.add(album.album, pages.font(kBookTitlePt, true), centred);
    if (!album.picture.isNull()) {
        doc.addResource(QTextDocument::ImageResource, QUrl(kPicture), QVariant(album.picture));
        blocks.add(QString(), pages.font(kTextPt), centred);
        QTextImageFormat image;
        image.setName(kPicture);
        const qreal width = pages.pageWidth() * 0.6;
        image.setWidth(width);
        image.setHeight(width * album.picture.height() / qMax(1, album.picture.width()));
        blocks.cursor().insertImage(image);
    }

    blocks.add(QStringLiteral("Содержание"), pages.font(kTitlePt, true),
               Spaced(pages.length(12), true));
    QTextBlockFormat entry;
    entry.setTabPositions({QTextOption::Tab(pages.pageWidth(), QTextOption::RightTab)});
    QList<QTextBlock> entries;
    for (const PrintedSong& song : album.songs)
        entries.append(blocks.add(song.name + QStringLiteral("\t000"), pages.font(kTextPt), entry));
    QList<QTextBlock> headings;
    for (const PrintedSong& song : album.songs) headings.append(AddSong(blocks, pages, song, true));

    // The numbers take the room of the placeholder, so filling them in moves no song; the
    // loop makes sure of it.
    for (int pass = 0; pass < 3; ++pass) {
        bool changed = false;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const QString number = QString::number(pages.pageOf(headings[i]));
            QTextCursor at(entries[i]);
            at.movePosition(QTextCursor::EndOfBlock);
            at.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
            const QString text = album.songs[i].name + u'\t' + number;
            if (at.selectedText() == text) continue;
            at.insertText(text, CharFormat(pages.font(kTextPt)));
            changed = true;
        }
        if (!changed) break;
    }
    return pages.print();
}
