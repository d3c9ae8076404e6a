#pragma once

#include <QDialog>

class CatalogueSession;

// A secondary window of the program, a view of the catalogue session it is created with.
// FormActivate runs every time the window becomes the active window, the moment each window
// re-reads the appearance settings.
class Form : public QDialog {
    Q_OBJECT
  public:
    explicit Form(CatalogueSession& session, QWidget* parent = nullptr, Qt::WindowFlags flags = {})
        : QDialog(parent, flags), session_(session) {}

  protected:
    virtual void FormActivate() {}
    bool event(QEvent* event) override;

    CatalogueSession& session_;
};
