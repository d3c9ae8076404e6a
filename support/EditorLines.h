#pragma once

#include <QStringList>
#include <optional>

#include "store/RecordFile.h"

class QPlainTextEdit;
class QWidget;

// A multi-line editor used as a line buffer. Every line is held with its line end, so that no
// lines, one empty line and a last empty line each read back as they were put in: "" is no
// line, "\n" one empty line, "a\nb" and "a\nb\n" the lines a and b.
void SetEditorLines(QPlainTextEdit* editor, const Lines& lines);
// The editor's lines as typed: no-break spaces stay what they are.
QStringList EditorTextLines(const QPlainTextEdit* editor);

// The lines in Windows-1251, or nothing when a character cannot be stored; then the user has
// been told which characters they are.
std::optional<Lines> EncodeOrRefuse(QWidget* parent, const QStringList& lines);
std::optional<Line> EncodeOrRefuse(QWidget* parent, const QString& text);
