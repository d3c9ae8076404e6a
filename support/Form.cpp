#include "support/Form.h"

#include <QEvent>

bool Form::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(event);
}
