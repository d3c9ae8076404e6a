#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes a JPEG stream at best quality (libjpeg's accurate integer inverse transform, not
// its fast one). On failure returns a null image and puts libjpeg's own text into *error.
QImage DecodeJpeg(const QByteArray& data, QString* error);

// True when the bytes start like a JPEG stream (SOI marker), whatever the file's name.
bool LooksLikeJpeg(const QByteArray& data);
