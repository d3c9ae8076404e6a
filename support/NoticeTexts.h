#pragma once

#include <QString>

#include "session/Feedback.h"

// The box and the words of each thing the session has to say.
struct NoticeText {
    MsgKind kind;
    QString text;  // "\r" starts a new line inside the message
    int buttons;
};

NoticeText TextOf(const Notice& notice);
