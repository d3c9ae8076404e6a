#pragma once

#include <QDialog>
#include <QList>

#include "store/AppearanceSettings.h"
#include "support/Appearance.h"

class CatalogueSession;
class Command;
enum class Outcome;

// A control that takes the user's font and colours, and which of them.
struct AppearanceControl {
    QWidget* control;
    TextControlRule rule;
};

// A secondary window of the program, a view of the catalogue session it is created with.
// Each time it becomes the active window it applies the user's font and colours to the
// controls it named (the settings file is read anew then: the user may have changed it), and
// again when a command writes other values while it is open; then FormActivate does the
// window's own work.
class Form : public QDialog {
    Q_OBJECT
  public:
    explicit Form(CatalogueSession& session, QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // The settings file as it stands: the one read of it in the program.
    static Appearance CurrentAppearance(const CatalogueSession& session);
    // Applies them to these controls, and the window colour to these surfaces.
    static void ApplyAppearance(const Appearance& a, const QList<AppearanceControl>& controls,
                                const QList<QWidget*>& surfaces);

  protected:
    // The controls and surfaces of this window that take the settings (the window itself is
    // always a surface).
    void TakeAppearance(QList<AppearanceControl> controls, QList<QWidget*> surfaces = {});
    virtual void FormActivate() {}
    bool event(QEvent* event) override;
    // Runs a command of the session; its messages open over this window.
    Outcome Execute(Command& command);
    bool Done(Command& command);

    CatalogueSession& session_;

  private:
    void applyAppearance();

    QList<AppearanceControl> controls_;
    QList<QWidget*> surfaces_;
};
