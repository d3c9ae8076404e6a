#pragma once

#include <QByteArray>

#include "importwindows/FolderForm.h"

// The song scanner: turns a folder of album folders with .txt and .rtf lyric files into the
// catalogue of the performer selected in the main window.
class TScanerForm : public FolderForm {
    Q_OBJECT
  public:
    explicit TScanerForm(CatalogueSession& session, QWidget* parent = nullptr);

    QPushButton* ObzorButton;
    QPushButton* ScanButton;
    QPushButton* CancelButton;

    void ObzorButtonClick() { BrowseClick(); }
    void ScanButtonClick();
    void CancelButtonClick();
    // True when the scan folder holds an album with a song file; a failing check leaves the
    // path in the field for the next try.
    bool First_Control() override;

  protected:
    void FormActivate() override;

  private:
    QByteArray targetPerformer_;  // fixed at each activation
};
