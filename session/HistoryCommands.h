#pragma once

#include "session/ChangeHistory.h"
#include "session/Command.h"
#include "store/JournalReplay.h"

// Undo (Replay::Back) or redo (Replay::Forward) of the newest step of the session's history
// that can be played that way: every file the step's command changed takes its bytes from
// before (after) it again, as one change. A file that someone else changed since is never
// written over: nothing is written then, and the step stays.
class ReplayCommand : public Command {
  public:
    explicit ReplayCommand(Replay direction) : direction_(direction) {}
    CommandLabel label() const override;
    CommandTarget target() const override;
    bool changesCatalogue() const override { return false; }
    // Its own check comes first, and its own message: an undo never writes over a change.
    bool asksBeforeOverwriting() const override { return false; }

    bool confirm(CatalogueSession& session, Feedback& feedback) override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;
    void failed(CatalogueSession& session, std::exception_ptr failure, Feedback& feedback) override;

  private:
    Replay direction_;
    std::optional<ChangeHistory::Step> step_;
    ChangeJournal journal_;
    QString changedOutside_;
};
