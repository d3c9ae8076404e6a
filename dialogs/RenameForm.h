#pragma once

#include <QByteArray>

#include "store/Renaming.h"
#include "support/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The message for a name refused for what it holds (not for being empty or taken).
QString NameRefusalText(NameProblem problem);

// The common frame of the three rename boxes: a prompt, the name, Save and Cancel; a fixed
// single border, centred on the desktop.
class RenameForm : public Form {
    Q_OBJECT
  public:
    RenameForm(CatalogueSession& session, const QString& caption, const QString& prompt,
               QWidget* parent);

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* SaveButton;
    QPushButton* CancelButton;

  protected:
    // Message boxes shown over the dialog hand the activation back to it when they close;
    // the old name is taken once each time the dialog is shown, so that what the user typed
    // survives a refusal.
    bool FirstActivationOfShowing();
    void showEvent(QShowEvent* event) override;
    // The edit box and the window take the user's font and colours.
    void ApplyAppearance();

    // The Windows-1251 form of the typed name; false (after a message naming the characters)
    // when the catalogue cannot hold some of them.
    bool EncodeName(const QString& text, QByteArray& name);
    struct RefusalTexts {
        QString empty;
        QString duplicate;
    };
    // Shows the message for a refused name; true when the name is refused.
    bool Refused(NameProblem problem, const RefusalTexts& texts);
    virtual void SaveButtonClick() = 0;
    virtual void CancelButtonClick();

  private:
    bool namesTaken_ = false;
};
