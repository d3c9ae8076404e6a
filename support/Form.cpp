#include "support/Form.h"

#include <QEvent>

#include "session/CatalogueSession.h"
#include "support/Modal.h"

Form::Form(CatalogueSession& session, QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), session_(session), surfaces_{this} {
    connect(&session.Appearance(), &AppearanceService::changed, this, [this] {
        if (isVisible()) applyAppearance();
    });
}

Appearance Form::CurrentAppearance(const CatalogueSession& session) {
    return ReadAppearance(session.StartDir());
}

void Form::ApplyAppearance(const Appearance& a, const QList<AppearanceControl>& controls,
                           const QList<QWidget*>& surfaces) {
    for (const AppearanceControl& c : controls) ApplyToTextControl(c.control, a, c.rule);
    const QColor formColour = ResolveColour(a.formColor);
    for (QWidget* surface : surfaces) ApplyFormColour(surface, formColour);
}

void Form::TakeAppearance(QList<AppearanceControl> controls, QList<QWidget*> surfaces) {
    controls_ = std::move(controls);
    surfaces_ = QList<QWidget*>{this} + surfaces;
}

void Form::applyAppearance() {
    ApplyAppearance(CurrentAppearance(session_), controls_, surfaces_);
}

bool Form::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        applyAppearance();
        FormActivate();
    }
    return QDialog::event(event);
}

Outcome Form::Execute(Command& command) {
    WidgetFeedback feedback(this);
    return session_.execute(command, feedback);
}

bool Form::Done(Command& command) {
    return Execute(command) == Outcome::Done;
}
