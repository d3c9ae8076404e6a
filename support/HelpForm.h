#pragma once

#include "support/Form.h"

class QPlainTextEdit;
class QPushButton;
class QFrame;

// The fixed Russian help text of the program.
class THelpForm : public Form {
    Q_OBJECT
  public:
    explicit THelpForm(CatalogueSession& session, QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
    QFrame* Panel1;
    QPushButton* Button1;

    static QString HelpText();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Button1Click();
};
