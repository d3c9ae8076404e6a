#include "support/PathCharFilter.h"

#include <QKeyEvent>
#include <QWidget>

#include "store/StorePaths.h"

void PathCharFilter::installOn(QWidget* editor) {
    editor->installEventFilter(new PathCharFilter(editor));
}

bool PathCharFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && IsPathCharacter(text.front())) return true;
    }
    return QObject::eventFilter(watched, event);
}
