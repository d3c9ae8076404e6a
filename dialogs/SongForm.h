#pragma once

#include "support/Form.h"

class QFrame;
class QPlainTextEdit;
class QPushButton;

// Edits the text of the selected song; saving moves its text block to the end of the file.
class TSongForm : public Form {
    Q_OBJECT
  public:
    explicit TSongForm(QWidget* parent = nullptr);

    // The line buffer the main window fills before showing the dialog.
    QPlainTextEdit* Memo1;
    QFrame* Panel1;
    QPushButton* Button1Save;
    QPushButton* Button2Can;

    void Button1SaveClick();
    void Button2CanClick();

  protected:
    void FormActivate() override;
};
