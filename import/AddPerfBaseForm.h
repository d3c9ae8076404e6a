#pragma once

#include <QByteArray>
#include <QString>

#include "support/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TFolderBrowseDialog;
struct BaseName;

// Adds a performer by copying its catalogue from a performer folder of another copy of the
// catalogue (the base folder); an existing performer of that name is replaced on request.
class TAddPerfBaseForm : public Form {
    Q_OBJECT
  public:
    explicit TAddPerfBaseForm(CatalogueSession& session, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;  // "Обзор"
    QPushButton* Button2;  // "Добавить"
    QPushButton* Button3;  // "Отмена"
    TFolderBrowseDialog* FolderBrowseDialog1;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    // The folder check: true when the base folder in Edit1 holds a catalogue whose folder
    // name can be a performer's name here.
    bool First_Control();

  protected:
    void FormActivate() override;

  private:
    void createControls();
    void clearBase();
    bool refuseUnusableName(const QString& name, const BaseName& encoded);
    bool replaceExistingPerformer(const QList<QByteArray>& performers);

    QString baseFolder_;
    QByteArray performer_;  // Windows-1251
};
