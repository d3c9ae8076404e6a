#pragma once

#include "importwindows/FolderForm.h"

// Adds a performer by copying its catalogue from a performer folder of another copy of the
// catalogue (the base folder); an existing performer of that name is replaced on request.
class TAddPerfBaseForm : public FolderForm {
    Q_OBJECT
  public:
    explicit TAddPerfBaseForm(CatalogueSession& session, QWidget* parent = nullptr);

    QPushButton* Button1;  // "Обзор"
    QPushButton* Button2;  // "Добавить"
    QPushButton* Button3;  // "Отмена"

    void Button1Click() { BrowseClick(); }
    void Button2Click();
    void Button3Click();
    // True when the base folder in Edit1 holds a catalogue whose folder name can be a
    // performer's name here; otherwise the field is emptied.
    bool First_Control() override;
};
