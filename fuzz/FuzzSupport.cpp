#include "fuzz/FuzzTargets.h"

Lines StorableLinesOf(QByteArrayView bytes) {
    Lines lines;
    if (bytes.isEmpty()) return lines;
    for (QByteArray line : bytes.toByteArray().split('\n')) {
        line.replace('\r', QByteArray()).replace('\x1a', QByteArray());
        lines.append(line);
    }
    return lines;
}

QStringList CharactersOf(const QString& text) {
    QStringList characters;
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        characters.append(text.mid(i, length));
        i += length;
    }
    return characters;
}
