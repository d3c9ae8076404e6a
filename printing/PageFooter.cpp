#include "printing/PageFooter.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

namespace {
constexpr qreal kFooterPt = 9;
}

qreal FooterHeight(const QPrinter& printer) {
    return 3 * kFooterPt * printer.resolution() / 72.0;
}

void DrawPageNumber(QPainter& painter, const QPrinter& printer, const QString& fontFace,
                    int number) {
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const qreal footer = FooterHeight(printer);
    QFont font(fontFace);
    font.setPointSizeF(kFooterPt);
    painter.setFont(font);
    painter.drawText(QRectF(0, page.height() - footer, page.width(), footer),
                     Qt::AlignHCenter | Qt::AlignBottom, QString::number(number));
}

bool FileWrittenWhole(const QPrinter& printer) {
    if (printer.outputFileName().isEmpty()) return true;
    constexpr qint64 kTail = 1024;
    QFile file(printer.outputFileName());
    if (!file.open(QIODevice::ReadOnly)) return false;
    const qint64 size = file.size();
    return size > 0 && file.seek(qMax<qint64>(0, size - kTail)) &&
           file.read(kTail).contains("%%EOF");
}
