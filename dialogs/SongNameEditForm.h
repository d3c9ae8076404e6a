#pragma once

#include <QByteArray>

#include "dialogs/RenameForm.h"

// Gives the selected song a new name inside its album's song blocks, in its text block header
// and in the main window's song list.
class TSongNameEditForm : public RenameForm {
    Q_OBJECT
  public:
    explicit TSongNameEditForm(CatalogueSession& session, QWidget* parent = nullptr);

    void SaveButtonClick() override;

  protected:
    void FormActivate() override;

  private:
    QByteArray performer_;
    QByteArray album_;
    QByteArray oldName_;
};
