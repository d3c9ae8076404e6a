#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include "printing/SongPrint.h"

class QPrinter;

struct PrintedAlbum {
    QString performer;
    QString album;
    QImage picture;  // null when the album has none
    QList<PrintedSong> songs;
};

// A songbook: an album, or a performer's albums in stored order.
struct PrintedBook {
    QList<PrintedAlbum> albums;
};

// What the user chooses for a songbook in the print dialog.
struct SongbookOptions {
    int columns = 1;  // 1 or 2
    int fontPt = 10;  // the lyrics, from 8 to 16
    bool contents = true;
    bool firstLineIndex = true;
    bool pictures = true;
};

// The songbook's lyrics size that goes with the program's lyrics font: the same, but at least
// 10 pt (the screen's 8 pt is too small on paper) and at most 16.
int SongbookFontSize(int lyricsPt);

// Prints a songbook: the contents (album, song, page) in front; each album from a new page,
// opening with its performer, title and picture; the songs flowing in one or two columns, one
// after the other, a song that fits in a column never split, a longer one starting at the
// top of a column; chord lines bold over the characters they belong to; at the back the index
// of first lines in Russian alphabetical order; the page number at the foot of each page.
// False as for PrintSong.
[[nodiscard]] bool PrintSongbook(QPrinter& printer, const PrintedBook& book,
                                 const QString& fontFace, const SongbookOptions& options);
