#include "import/LyricText.h"

#include <QStringDecoder>

#include "store/Cp1251.h"

namespace {

const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

bool HoldsNonAscii(QByteArrayView bytes) {
    for (const char c : bytes)
        if (uchar(c) >= 0x80) return true;
    return false;
}

bool IsValidUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    Q_UNUSED(decoded);
    return !decoder.hasError();
}

// Each character of `unencodable` (surrogate pairs kept together) in `line` becomes "?".
QString MarkUnencodable(QStringView line, const QString& unencodable) {
    QString marked = line.toString();
    for (qsizetype i = 0; i < unencodable.size(); ++i) {
        QString ch(unencodable[i]);
        if (unencodable[i].isHighSurrogate() && i + 1 < unencodable.size())
            ch.append(unencodable[++i]);
        marked.replace(ch, QStringLiteral("?"));
    }
    return marked;
}

void NoteUnencodable(CatalogueText& text, const QString& characters) {
    for (qsizetype i = 0; i < characters.size(); ++i) {
        QString ch(characters[i]);
        if (characters[i].isHighSurrogate() && i + 1 < characters.size())
            ch.append(characters[++i]);
        if (!text.unencodable.contains(ch)) text.unencodable.append(ch);
    }
}

}  // namespace

void AppendCatalogueLine(CatalogueText& text, QStringView line) {
    cp1251::Encoded encoded = cp1251::encode(line);
    if (!encoded.ok()) {
        NoteUnencodable(text, encoded.unencodable);
        encoded.bytes = cp1251::encode(MarkUnencodable(line, encoded.unencodable)).bytes;
    }
    text.lines.append(std::move(encoded.bytes));
}

bool LooksLikeUtf8(QByteArrayView bytes) {
    if (bytes.startsWith(kUtf8Bom)) return true;
    return HoldsNonAscii(bytes) && IsValidUtf8(bytes);
}

CatalogueText PlainLyricText(const QByteArray& bytes) {
    CatalogueText text;
    if (!LooksLikeUtf8(bytes)) {
        text.lines = RecordLines(bytes).toList();
        return text;
    }
    // Line ends and Ctrl-Z are the same bytes in UTF-8, so the lines are split first.
    const QByteArray body = bytes.startsWith(kUtf8Bom) ? bytes.mid(kUtf8Bom.size()) : bytes;
    const RecordLines lines(body);
    for (const QByteArrayView line : lines) AppendCatalogueLine(text, QString::fromUtf8(line));
    return text;
}
