#pragma once

#include <QByteArrayView>

#include "store/RecordFile.h"

// The rules of the lines the editors store. Lines are the stored Windows-1251 bytes.

// True when a line holds CR, LF or Ctrl-Z: written to a line file it would not read back as
// one line (a Ctrl-Z at a line's start even ends the file for a reader).
bool HoldsLineBreak(const Lines& lines);

// True when one of the lines equals the end line of its block: stored inside a block it would
// end the block early when read back.
bool HoldsEndLine(const Lines& body, QByteArrayView endLine);
