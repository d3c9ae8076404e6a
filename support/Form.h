#pragma once

#include <QDialog>

// A secondary window of the program. FormActivate runs every time the window becomes the
// active window, the moment each window re-reads the appearance settings.
class Form : public QDialog {
    Q_OBJECT
  public:
    using QDialog::QDialog;

  protected:
    virtual void FormActivate() {}
    bool event(QEvent* event) override;
};
