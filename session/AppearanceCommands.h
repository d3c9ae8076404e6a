#pragma once

#include <QObject>

#include "session/Command.h"
#include "store/AppearanceSettings.h"

// The user's font and colours: the commands that write them into Data/Settings.ini, and the
// service that tells the windows when the file holds other values.
class AppearanceService : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    void announceChange() { emit changed(); }

  signals:
    // The settings file holds other values now; the windows that show them apply them anew.
    void changed();
};

// The three font keys, as the font dialog chose them.
class FontCommand : public Command {
  public:
    FontCommand(const QByteArray& face, int size, ColourRef colour);
    CommandLabel label() const override { return {CommandKind::Font, face_}; }
    CommandTarget target() const override { return {}; }
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;

  private:
    QByteArray face_;
    int size_;
    ColourRef colour_;
};

// `colors` `color` (the text areas) or `colors` `formcolor` (the windows).
class ColourCommand : public Command {
  public:
    enum class Of { Background, Window };
    ColourCommand(Of of, ColourRef colour);
    CommandLabel label() const override;
    CommandTarget target() const override { return {}; }
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;

  private:
    Of of_;
    ColourRef colour_;
};

// All five keys back to their defaults, in one write.
class AppearanceResetCommand : public Command {
  public:
    CommandLabel label() const override { return {CommandKind::AppearanceReset, {}}; }
    CommandTarget target() const override { return {}; }
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;
};

// The per-user first-run flag, written the first time the program starts for a user; the
// advice to read the help follows.
class FirstRunFlagCommand : public Command {
  public:
    CommandLabel label() const override { return {CommandKind::FirstRunFlag, {}}; }
    CommandTarget target() const override { return {}; }
    bool changesCatalogue() const override { return false; }
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;
};
