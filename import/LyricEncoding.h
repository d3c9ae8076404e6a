#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The encodings lyric files come in. Old Russian collections hold files from Windows (the
// catalogue's own Windows-1251, or UTF-16 "Unicode" text, mostly with its byte-order mark),
// from Unix mail and news (KOI8-R), from DOS (code page 866), from ISO-8859-5 and from the Mac.
enum class LyricEncoding {
    Cp1251,  // also every file the detector is unsure of: taken byte for byte
    Utf8,
    Utf8Bom,
    Utf16Le,
    Utf16Be,
    Koi8R,
    Ibm866,
    Iso8859_5,
    MacCyrillic,
};

// In this order: a byte-order mark, UTF-16 without one, valid UTF-8 that holds multi-byte
// sequences, text that is plainly Windows-1251 (checked in one pass, without the detector), a
// text too short for the detector by the code page in which its letters look like words, and
// else the verdict of uchardet among the Cyrillic code pages above. A verdict outside them is
// no verdict.
LyricEncoding DetectLyricEncoding(QByteArrayView bytes);

// The text in UTF-8, its byte-order mark dropped; Cp1251 and Utf8 give the bytes themselves.
// A sequence the encoding cannot hold becomes U+FFFD, so no byte goes missing without a trace.
QByteArray LyricTextAsUtf8(const QByteArray& bytes, LyricEncoding encoding);
