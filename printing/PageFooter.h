#pragma once

#include <QString>

class QPainter;
class QPrinter;

// What every printed page and file share: the page number at the foot of the page, and the
// check that a PDF file was written to its end.

// The strip at the foot of the page that holds its number, in the printer's pixels.
qreal FooterHeight(const QPrinter& printer);

// The page's number, centred at the foot of the page in the given font face.
void DrawPageNumber(QPainter& painter, const QPrinter& printer, const QString& fontFace,
                    int number);

// Qt's PDF writer carries on past a write that fails (a full disk leaves the file cut short
// and reports nothing), so the file is read back: a PDF written to its end holds the
// end-of-file marker in its last 1024 bytes, where readers look for it. Output to a printer's
// queue has no file to read.
bool FileWrittenWhole(const QPrinter& printer);
