#pragma once

#include "store/RecordFile.h"
#include "support/Form.h"

class QPlainTextEdit;
class QPushButton;

// Edits the selected performer's album list as free text, one album per line.
class TAlbumsForm : public Form {
    Q_OBJECT
  public:
    TAlbumsForm(CatalogueSession& session, const Lines& buffer, QWidget* parent = nullptr);

    // The editor, filled from the line buffer each time the dialog is shown.
    QPlainTextEdit* Memo1;
    QPushButton* SaveButton;
    QPushButton* CancelButton;

    void SaveButtonClick();
    void CancelButtonClick();

    // However the dialog ends, the editor is left empty for the next opening.
    void done(int result) override;

  protected:
    void FormActivate() override;
    void showEvent(QShowEvent* event) override;

  private:
    const Lines& buffer_;
};
