#pragma once

#include <QByteArray>
#include <QString>

#include "support/Form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Экспорт исполнителя": writes the performer selected in the main window into a folder, as
// text files, OpenLyrics or ChordPro songs. The folder is typed or chosen with Qt's folder
// dialog, which opens at the folder of the last export (the home folder at first).
class TExportForm : public Form {
    Q_OBJECT
  public:
    explicit TExportForm(CatalogueSession& session, QWidget* parent = nullptr);

    QLabel* PerformerLabel;
    QLineEdit* FolderEdit;
    QPushButton* BrowseButton;
    QComboBox* FormatComboBox;  // in the order of ExportFormat
    QPushButton* ExportButton;
    QPushButton* CancelButton;

    void BrowseButtonClick();
    void ExportButtonClick();

  protected:
    void FormActivate() override;

  private:
    QByteArray performer_;  // fixed at each activation
    QString lastFolder_;    // of the last export that got through
};
