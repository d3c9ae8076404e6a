#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "store/RecordFile.h"

// Text of a lyric file made ready for the catalogue: lines of Windows-1251 bytes. A character
// the code page cannot hold stands as "?" in its line and is listed in `unencodable`, so the
// caller can tell the user; nothing is dropped without a word.
struct CatalogueText {
    Lines lines;
    QString unencodable;  // each distinct character once, in order of first appearance
};

// Appends one line of Unicode text, encoded for the catalogue.
void AppendCatalogueLine(CatalogueText& text, QStringView line);

// A plain lyric file, split by the line reading rules of the catalogue. A file in UTF-8 (with
// its byte-order mark, or valid UTF-8 holding multi-byte sequences) is converted; any other
// file is taken byte for byte, as lyric files written on Windows are already in the catalogue's
// code page.
CatalogueText PlainLyricText(const QByteArray& bytes);

// True when the bytes are UTF-8 by the rule above.
bool LooksLikeUtf8(QByteArrayView bytes);
