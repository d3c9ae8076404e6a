#include "support/MemoLines.h"

#include <QPlainTextEdit>
#include <QTextDocument>

QStringList MemoLines(const QPlainTextEdit* memo) {
    // The raw text keeps no-break spaces, which toPlainText would turn into blanks.
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    QStringList lines = text.split(u'\n');
    // The break after the last line opens no line of its own.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

void SetMemoLines(QPlainTextEdit* memo, const QStringList& lines) {
    QString text;
    for (const QString& line : lines) text += line + u'\n';
    memo->setPlainText(text);
}
