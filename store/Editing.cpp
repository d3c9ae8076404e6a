#include "store/Editing.h"

bool HoldsLineBreak(const Lines& lines) {
    constexpr char kCtrlZ = 0x1a;
    for (const Line& line : lines)
        if (line.contains('\r') || line.contains('\n') || line.contains(kCtrlZ)) return true;
    return false;
}

bool HoldsEndLine(const Lines& body, QByteArrayView endLine) {
    for (const Line& line : body)
        if (line == endLine) return true;
    return false;
}
