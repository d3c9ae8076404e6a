#pragma once

#include "store/RecordFile.h"
#include "support/Form.h"

class QFrame;
class QPlainTextEdit;
class QPushButton;

// Edits the text of the selected song; saving moves its text block to the end of the file.
class TSongForm : public Form {
    Q_OBJECT
  public:
    TSongForm(CatalogueSession& session, const Lines& buffer, QWidget* parent = nullptr);

    // The editor, filled from the line buffer each time the dialog is shown.
    QPlainTextEdit* Memo1;
    QFrame* Panel1;
    QPushButton* Button1Save;
    QPushButton* Button2Can;

    void Button1SaveClick();
    void Button2CanClick();

  protected:
    void FormActivate() override;
    void showEvent(QShowEvent* event) override;

  private:
    const Lines& buffer_;
};
