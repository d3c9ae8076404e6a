#include "support/MemoLines.h"

#include <QPlainTextEdit>

QStringList MemoLines(const QPlainTextEdit* memo) {
    QStringList lines = memo->toPlainText().split(u'\n');
    // The break after the last line opens no line of its own.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

void SetMemoLines(QPlainTextEdit* memo, const QStringList& lines) {
    QString text;
    for (const QString& line : lines) text += line + u'\n';
    memo->setPlainText(text);
}
