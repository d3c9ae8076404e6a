#pragma once

#include <QByteArray>

#include "dialogs/RenameForm.h"

// Gives the selected performer a new name in the performer list and carries the performer
// folder over to the new name.
class TPerfNameEditForm : public RenameForm {
    Q_OBJECT
  public:
    explicit TPerfNameEditForm(CatalogueSession& session, QWidget* parent = nullptr);

    void SaveButtonClick() override;
    void CancelButtonClick() override;

  protected:
    void FormActivate() override;

  private:
    QByteArray oldName_;
};
