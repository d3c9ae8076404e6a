#pragma once

#include "support/Form.h"

class QPlainTextEdit;
class QPushButton;

// Edits the selected album's song list as free text, one song per line.
class TSongsForm : public Form {
    Q_OBJECT
  public:
    explicit TSongsForm(QWidget* parent = nullptr);

    // The line buffer the main window fills before showing the dialog.
    QPlainTextEdit* Memo1;
    QPushButton* Button1;
    QPushButton* Button2;

    void Button1Click();
    void Button2Click();

  protected:
    void FormActivate() override;
};
