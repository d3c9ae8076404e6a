#pragma once

#include "session/Command.h"

// The chosen album's picture: Data/{performer}/Image/{album}.jpg.

// Stores JPEG bytes, unchanged, as the album's picture; an existing picture is replaced in one
// step once the new bytes are whole on disk.
class AttachPictureCommand : public Command {
  public:
    AttachPictureCommand(const CommandTarget& album, const QByteArray& jpeg);
    CommandLabel label() const override { return {CommandKind::PictureAttach, target_.album}; }
    CommandTarget target() const override { return target_; }
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;

  private:
    CommandTarget target_;
    QByteArray jpeg_;
};

// Removes the chosen album's picture file, never a folder, after the user's yes. A picture
// that stays on disk stays on screen, and the user hears why.
class RemovePictureCommand : public Command {
  public:
    RemovePictureCommand() = default;
    CommandLabel label() const override { return {CommandKind::PictureRemoval, target_.album}; }
    CommandTarget target() const override { return target_; }
    std::optional<Notice> validate(const CatalogueSession& session) const override;
    bool confirm(CatalogueSession& session, Feedback& feedback) override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;

  private:
    CommandTarget target_;
};
