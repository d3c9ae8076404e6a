#pragma once

#include <QString>
#include <QStringList>

class QPrinter;

struct PrintedSong {
    QString performer;
    QString album;
    QString name;
    QStringList lines;  // one lyric line each
};

// A printer for one document: the name the print queue and a PDF show, and paper margins of
// 2 cm that the print dialog offers to change.
void SetUpPrinter(QPrinter& printer, const QString& documentName);

// Prints a song: "performer — album" as a small heading, the song's name as the title, then
// its lines in the given font face, long lines wrapped; the page number at the foot of each
// page. False when nothing was printed: the printer or the file could not be opened, or the
// file was not written whole.
[[nodiscard]] bool PrintSong(QPrinter& printer, const PrintedSong& song, const QString& fontFace);
