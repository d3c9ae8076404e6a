#pragma once

#include <QByteArray>
#include <memory>

#include "session/Command.h"
#include "support/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The common frame of the three rename boxes: a prompt, the name, Save and Cancel; a fixed
// single border, centred on the desktop. Each time the box is shown it takes the names it
// works on from the selection and shows the old name; Save hands the typed name to the
// dialog's rename command.
class RenameForm : public Form {
    Q_OBJECT
  public:
    RenameForm(CatalogueSession& session, const QString& caption, const QString& prompt,
               QWidget* parent);

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* SaveButton;
    QPushButton* CancelButton;

    void SaveButtonClick();
    virtual void CancelButtonClick();

  protected:
    // The names of the selection the dialog works on; returns the old name.
    virtual QByteArray TakeNames() = 0;
    // The rename to the typed name, in the catalogue's code page.
    virtual std::unique_ptr<Command> RenameTo(const QByteArray& name) = 0;
    // Whether the box closes once its command ran.
    virtual bool Closes(const Command& command, Outcome outcome) const;
    // What the box does after its command refused the name.
    virtual void Refused(const Command&) {}

    // Message boxes shown over the dialog hand the activation back to it when they close;
    // the names are taken once each time the dialog is shown, so that what the user typed
    // survives a refusal.
    void FormActivate() override;
    void showEvent(QShowEvent* event) override;

  private:
    bool namesTaken_ = false;
};
