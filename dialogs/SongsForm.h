#pragma once

#include "store/RecordFile.h"
#include "support/Form.h"

class QPlainTextEdit;
class QPushButton;

// Edits the selected album's song list as free text, one song per line.
class TSongsForm : public Form {
    Q_OBJECT
  public:
    TSongsForm(CatalogueSession& session, const Lines& buffer, QWidget* parent = nullptr);

    // The editor, filled from the line buffer each time the dialog is shown.
    QPlainTextEdit* Memo1;
    QPushButton* Button1;
    QPushButton* Button2;

    void Button1Click();
    void Button2Click();

  protected:
    void FormActivate() override;
    void showEvent(QShowEvent* event) override;

  private:
    const Lines& buffer_;
};
