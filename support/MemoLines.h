#pragma once

#include <QStringList>

class QPlainTextEdit;

// A multi-line editor as a list of lines, the way the program's line buffers work: every
// line is followed by a line break, so an empty list is an empty editor and an empty last
// line survives the round trip.
QStringList MemoLines(const QPlainTextEdit* memo);
void SetMemoLines(QPlainTextEdit* memo, const QStringList& lines);
