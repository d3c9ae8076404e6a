#pragma once

#include <QRect>

#include "support/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TFolderBrowseDialog;

// The frame of the two import windows, the scanner and the import from a base: a prompt, the
// folder's field with its browse button, and two command buttons below; a fixed single border
// and 346 by 116 pixels inside, centred on the screen. The browse button runs the folder
// picker; a confirmed folder goes into the field and is checked at once.
class FolderForm : public Form {
    Q_OBJECT
  public:
    QLabel* Label1;
    QLineEdit* Edit1;
    TFolderBrowseDialog* FolderBrowseDialog1;

    // The folder check of the window: true when the folder in the field will do; otherwise
    // the user has been told why.
    virtual bool First_Control() = 0;

  protected:
    struct Buttons {
        QString run;
        QRect runPlace;
        QRect cancelPlace;
    };
    FolderForm(CatalogueSession& session, const QString& prompt, const Buttons& buttons,
               QWidget* parent);
    void BrowseClick();
    void showEvent(QShowEvent* event) override;

    QPushButton* browse_;
    QPushButton* run_;
    QPushButton* cancel_;
};
