#include "support/StorableText.h"

#include "store/Cp1251.h"
#include "store/Editing.h"
#include "support/Modal.h"

std::optional<Line> EncodeOrRefuse(QWidget* parent, const QString& text) {
    const cp1251::Encoded encoded = cp1251::encode(text);
    if (encoded.ok()) return encoded.bytes;
    Inform(parent, QStringLiteral("Нельзя сохранить символы: ") +
                       cp1251::describeCharacters(encoded.unencodable) + u'.');
    return std::nullopt;
}

std::optional<Lines> EncodeOrRefuse(QWidget* parent, const QStringList& lines) {
    const std::optional<Line> bytes = EncodeOrRefuse(parent, lines.join(u'\n'));
    if (!bytes) return std::nullopt;
    if (lines.isEmpty()) return Lines{};
    const Lines encoded = bytes->split('\n');
    if (HoldsLineBreak(encoded)) {
        Inform(parent, QStringLiteral(
                           "Нельзя сохранить символы возврата каретки и Ctrl-Z (U+000D, U+001A)."));
        return std::nullopt;
    }
    return encoded;
}
