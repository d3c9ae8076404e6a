#include "session/HistoryCommands.h"

#include "session/CatalogueSession.h"
#include "store/SeenFiles.h"
#include "store/StorePaths.h"

namespace {

const ChangeHistory::Step* stepToPlay(const ChangeHistory& history, Replay direction) {
    return direction == Replay::Back ? history.toUndo() : history.toRedo();
}

}  // namespace

CommandLabel ReplayCommand::label() const {
    return {direction_ == Replay::Back ? CommandKind::Undo : CommandKind::Redo, {}};
}

CommandTarget ReplayCommand::target() const {
    if (!step_) return {};
    return direction_ == Replay::Back ? step_->before : step_->after;
}

bool ReplayCommand::confirm(CatalogueSession& session, Feedback&) {
    const ChangeHistory& history = session.History();
    const ChangeHistory::Step* step = stepToPlay(history, direction_);
    if (!step) return false;
    step_ = *step;
    journal_ = direction_ == Replay::Back ? history.journalToUndo() : history.journalToRedo();
    return true;
}

void ReplayCommand::apply(const PerformerRepository&, FileSetChange& change) {
    if (const std::optional<QString> changed = FirstFileChangedSince(journal_, direction_))
        throw ChangedOutside{*changed};
    ReplayJournal(change, journal_, direction_);
}

void ReplayCommand::succeeded(CatalogueSession& session, Feedback&) {
    session.Replayed(direction_, journal_, target());
}

void ReplayCommand::failed(CatalogueSession& session, std::exception_ptr failure,
                           Feedback& feedback) {
    try {
        std::rethrow_exception(failure);
    } catch (const ChangedOutside& outside) {
        feedback.tell({direction_ == Replay::Back ? NoticeId::UndoBlockedByOutsideChange
                                                  : NoticeId::RedoBlockedByOutsideChange,
                       {session.BelowData(outside.path)}});
    } catch (...) {
        Command::failed(session, failure, feedback);
    }
}
