#pragma once

#include "dialogs/LineEditorForm.h"

// Edits the selected album's song list as free text, one song per line.
class TSongsForm : public LineEditorForm {
    Q_OBJECT
  public:
    TSongsForm(CatalogueSession& session, const EditorBuffer& buffer, QWidget* parent = nullptr);

    QPushButton* Button1;
    QPushButton* Button2;

    void Button1Click() { SaveClick(); }
    void Button2Click() { CancelClick(); }

  protected:
    bool Save(const EditorBuffer& buffer, const Lines& lines) override;
};
