#pragma once

#include <QStringList>
#include <optional>

#include "store/RecordFile.h"

class QWidget;

// Text typed by the user in Windows-1251, or nothing when a character cannot be stored; then
// the user has been told which characters they are.
std::optional<Line> EncodeOrRefuse(QWidget* parent, const QString& text);
// Lines are refused, with a message, also when one holds a CR or Ctrl-Z: a line file would
// not give it back as one line.
std::optional<Lines> EncodeOrRefuse(QWidget* parent, const QStringList& lines);
