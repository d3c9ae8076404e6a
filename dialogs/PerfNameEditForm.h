#pragma once

#include "dialogs/RenameForm.h"

// Gives the selected performer a new name in the performer list and carries the performer
// folder over to the new name.
class TPerfNameEditForm : public RenameForm {
    Q_OBJECT
  public:
    explicit TPerfNameEditForm(CatalogueSession& session, QWidget* parent = nullptr);
    void CancelButtonClick() override;

  protected:
    QByteArray TakeNames() override;
    std::unique_ptr<Command> RenameTo(const QByteArray& name) override;
    bool Closes(const Command& command, Outcome outcome) const override;
    void Refused(const Command& command) override;

  private:
    QByteArray oldName_;
};
