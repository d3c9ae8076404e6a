#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include "import/LyricText.h"

// True when the bytes open an RTF document ("{\rtf").
bool IsRtfDocument(QByteArrayView bytes);

// The plain text of an RTF document, one line per paragraph (no wrapping), formatting
// dropped, in the catalogue's code page. The empty line after a final paragraph end is not a
// line. Bytes that are not an RTF document are read as a plain lyric file.
CatalogueText RtfToPlainText(const QByteArray& bytes);
