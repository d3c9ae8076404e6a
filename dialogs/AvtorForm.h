#pragma once

#include <QByteArray>
#include <optional>

#include "support/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Adds a performer by hand: the name goes to the end of the performer list and gets its
// folder with the picture folder and three empty line files.
class TAvtorForm : public Form {
    Q_OBJECT
  public:
    explicit TAvtorForm(CatalogueSession& session, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* VvodAvtEdit;
    QPushButton* SaveAvtButton;
    QPushButton* CancelButton;

    void SaveAvtButtonClick();
    void CancelButtonClick();

  private:
    void FormCreate();
    void EndWithEmptyBox(int result);
};
