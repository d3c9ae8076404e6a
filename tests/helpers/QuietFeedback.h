#pragma once

#include <QList>
#include <QStringList>

#include "session/Feedback.h"

// A user without windows: every question is answered with its first button (OK or Yes), and
// what the session said is kept for the test to look at.
class QuietFeedback : public Feedback {
  public:
    MsgButton tell(const Notice& notice) override {
        told.append(notice.id);
        return notice.id == NoticeId::ConfirmPerformerReplacement ? Ok : Yes;
    }
    void errorReport(const QString& description) override { errors.append(description); }

    QList<NoticeId> told;
    QStringList errors;
};
