#pragma once

#include "support/Form.h"

class QPlainTextEdit;
class QPushButton;

// Edits the selected performer's album list as free text, one album per line.
class TAlbumsForm : public Form {
    Q_OBJECT
  public:
    explicit TAlbumsForm(QWidget* parent = nullptr);

    // The line buffer the main window fills before showing the dialog.
    QPlainTextEdit* Memo1;
    QPushButton* SaveButton;
    QPushButton* CancelButton;

    void SaveButtonClick();
    void CancelButtonClick();

    // However the dialog ends, the editor is left empty for the next opening.
    void done(int result) override;

  protected:
    void FormActivate() override;
};
