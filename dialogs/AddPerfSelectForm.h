#pragma once

#include "support/Form.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

// The first step of adding a performer: from another copy's data folder, or by hand.
class TAddPerfSelectForm : public Form {
    Q_OBJECT
  public:
    explicit TAddPerfSelectForm(CatalogueSession& session, QWidget* parent = nullptr);
    // The two ways on, windows created after this one.
    void SetNextDialogs(QDialog* fromBase, QDialog* byHand) {
        fromBase_ = fromBase;
        byHand_ = byHand;
    }

    QGroupBox* GroupBox1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QPushButton* Button1;
    QPushButton* Button2;

    void Button1Click();
    void Button2Click();

  protected:
    void FormActivate() override;

  private:
    QDialog* fromBase_ = nullptr;
    QDialog* byHand_ = nullptr;
};
