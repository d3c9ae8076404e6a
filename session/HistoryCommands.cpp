#include "session/HistoryCommands.h"

#include <QDir>

#include "session/CatalogueSession.h"
#include "store/StorePaths.h"

namespace {

const ChangeHistory::Step* stepToPlay(const ChangeHistory& history, Replay direction) {
    return direction == Replay::Back ? history.toUndo() : history.toRedo();
}

// Thrown before anything is written when a file holds what neither this program nor the step
// put there.
struct ChangedOutside {
    QString path;
};

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
        const QString data = session.Repository().path(StoreEntry::DataFolder);
        feedback.tell({direction_ == Replay::Back ? NoticeId::UndoBlockedByOutsideChange
                                                  : NoticeId::RedoBlockedByOutsideChange,
                       {QDir(data).relativeFilePath(outside.path)}});
    } catch (...) {
        Command::failed(session, failure, feedback);
    }
}
