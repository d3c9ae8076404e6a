#pragma once

#include "dialogs/RenameForm.h"

// Gives the selected album a new name in the album list, its song and text block headers
// and its picture.
class TAlbNameEditForm : public RenameForm {
    Q_OBJECT
  public:
    explicit TAlbNameEditForm(CatalogueSession& session, QWidget* parent = nullptr);

  protected:
    QByteArray TakeNames() override;
    std::unique_ptr<Command> RenameTo(const QByteArray& name) override;

  private:
    QByteArray performer_;
    QByteArray oldName_;
};
