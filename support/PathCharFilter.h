#pragma once

#include <QObject>

class QWidget;

// Swallows the nine path characters \ / : * ? " < > | as they are typed into an edit box or
// a multi-line editor, without sound or message. Pasted text is not filtered here; the
// commands check names themselves before they touch a file.
class PathCharFilter : public QObject {
  public:
    using QObject::QObject;
    static void installOn(QWidget* editor);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
