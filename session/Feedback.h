#pragma once

#include <QString>

// How a command tells the user what happened and asks before it goes on. The session knows
// no windows: each window hands a command the feedback of its own message boxes (the modal
// seam, support/Modal.h), so a box opens over the window the user is working in, in the
// order the command's steps reach it.

enum class MsgKind { Information, Warning, Error, Confirm };
enum MsgButton { NoButton = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8 };

class Feedback {
  public:
    virtual ~Feedback() = default;
    // A message box of that kind; returns the button pressed (NoButton when it was closed).
    virtual MsgButton message(MsgKind kind, const QString& text, int buttons = Ok) = 0;
    // The general error report, showing a failure's description.
    virtual void errorReport(const QString& description) = 0;

    MsgButton inform(const QString& text, int buttons = Ok) {
        return message(MsgKind::Information, text, buttons);
    }
};
