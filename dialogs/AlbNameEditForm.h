#pragma once

#include <QByteArray>

#include "dialogs/RenameForm.h"

// Gives the selected album a new name in the album list, its song and text block headers
// and its picture.
class TAlbNameEditForm : public RenameForm {
    Q_OBJECT
  public:
    explicit TAlbNameEditForm(CatalogueSession& session, QWidget* parent = nullptr);

    void SaveButtonClick() override;

  protected:
    void FormActivate() override;

  private:
    QByteArray performer_;
    QByteArray oldName_;
};
