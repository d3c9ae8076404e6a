#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The quality at which a bitmap chosen as an album picture is stored.
inline constexpr int kAlbumPictureQuality = 90;

// Encodes a picture as a baseline (not progressive) JPEG with three 8-bit colour components
// (24-bit colour, also for grey or paletted pictures) at the given quality, with libjpeg's
// standard tables. On failure returns empty bytes and puts libjpeg's own text into *error.
QByteArray EncodeJpeg(const QImage& picture, int quality, QString* error);
