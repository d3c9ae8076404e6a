#include "support/EditorLines.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "store/Cp1251.h"
#include "support/Modal.h"

void SetEditorLines(QPlainTextEdit* editor, const Lines& lines) {
    QString text;
    for (const Line& line : lines) text += cp1251::decode(line) + u'\n';
    editor->setPlainText(text);
}

QStringList EditorTextLines(const QPlainTextEdit* editor) {
    // toPlainText would turn no-break spaces into blanks; the raw text keeps them.
    QString text = editor->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    if (text.isEmpty()) return {};
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
}

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
    return bytes->split('\n');
}
