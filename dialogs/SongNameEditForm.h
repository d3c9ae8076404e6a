#pragma once

#include "dialogs/RenameForm.h"

// Gives the selected song a new name inside its album's song blocks, in its text block header
// and in the main window's song list.
class TSongNameEditForm : public RenameForm {
    Q_OBJECT
  public:
    explicit TSongNameEditForm(CatalogueSession& session, QWidget* parent = nullptr);

  protected:
    QByteArray TakeNames() override;
    std::unique_ptr<Command> RenameTo(const QByteArray& name) override;

  private:
    CommandTarget song_;
};
