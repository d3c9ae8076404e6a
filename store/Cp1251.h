#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The one place where the catalogue's Windows-1251 bytes become Unicode text for the windows,
// and back. The mapping comes from glibc's iconv; every stored byte survives a round trip
// (0x98, which Windows-1251 leaves undefined, travels as U+0098).
namespace cp1251 {

QString decode(QByteArrayView bytes);

struct Encoded {
    QByteArray bytes;
    // Each distinct character of the text that Windows-1251 cannot hold, in order of first
    // appearance; a lone surrogate counts as U+FFFD. When it is not empty, `bytes` must not be
    // stored.
    QString unencodable;
    bool ok() const { return unencodable.isEmpty(); }
};
Encoded encode(QStringView text);

// Text for a message that lists characters the catalogue cannot store: each character
// followed by its code point ("€ (U+20AC)").
QString describeCharacters(const QString& characters);

}  // namespace cp1251
