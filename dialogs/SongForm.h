#pragma once

#include "support/Form.h"

class QPlainTextEdit;

// Placeholder: this window is being built.
class TSongForm : public Form {
    Q_OBJECT
  public:
    explicit TSongForm(QWidget* parent = nullptr);

    // The line buffer the main window fills before showing the dialog.
    QPlainTextEdit* Memo1;
};
