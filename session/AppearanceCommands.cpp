#include "session/AppearanceCommands.h"

#include "session/CatalogueSession.h"
#include "store/FirstRunFlag.h"
#include "store/PerformerRepository.h"

FontCommand::FontCommand(const QByteArray& face, int size, ColourRef colour)
    : face_(face), size_(size), colour_(colour) {}

void FontCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    WriteFontSettings(change, repository.startDir(), face_, size_, colour_);
}

void FontCommand::succeeded(CatalogueSession& session, Feedback&) {
    session.Appearance().announceChange();
}

ColourCommand::ColourCommand(Of of, ColourRef colour) : of_(of), colour_(colour) {}

CommandLabel ColourCommand::label() const {
    return {of_ == Of::Background ? CommandKind::BackgroundColour : CommandKind::FormColour, {}};
}

void ColourCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    if (of_ == Of::Background)
        WriteBackColor(change, repository.startDir(), colour_);
    else
        WriteFormColor(change, repository.startDir(), colour_);
}

void ColourCommand::succeeded(CatalogueSession& session, Feedback&) {
    session.Appearance().announceChange();
}

void AppearanceResetCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    ResetAppearance(change, repository.startDir());
}

void AppearanceResetCommand::succeeded(CatalogueSession& session, Feedback&) {
    session.Appearance().announceChange();
}

void FirstRunFlagCommand::apply(const PerformerRepository&, FileSetChange& change) {
    WriteFirstRunFlag(change);
}

void FirstRunFlagCommand::succeeded(CatalogueSession&, Feedback& feedback) {
    feedback.tell({NoticeId::FirstRunAdvice});
}
