#pragma once

#include <QByteArray>

#include "support/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TFolderBrowseDialog;

// The song scanner: turns a folder of album folders with .txt and .rtf lyric files into the
// catalogue of the performer selected in the main window.
class TScanerForm : public Form {
    Q_OBJECT
  public:
    explicit TScanerForm(CatalogueSession& session, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* ObzorButton;
    QPushButton* ScanButton;
    QPushButton* CancelButton;
    TFolderBrowseDialog* FolderBrowseDialog1;

    void ObzorButtonClick();
    void ScanButtonClick();
    void CancelButtonClick();
    // The folder check: true when the scan folder holds an album with a song file; otherwise
    // the user is told and the answer is false.
    bool First_Control();

  protected:
    void FormActivate() override;
    void showEvent(QShowEvent* event) override;

  private:
    QByteArray targetPerformer_;  // fixed at each activation
};
