#pragma once

#include "dialogs/LineEditorForm.h"

// Edits the text of the selected song; saving moves its text block to the end of the file.
class TSongForm : public LineEditorForm {
    Q_OBJECT
  public:
    TSongForm(CatalogueSession& session, const EditorBuffer& buffer, QWidget* parent = nullptr);

    QFrame* Panel1;
    QPushButton* Button1Save;
    QPushButton* Button2Can;

    void Button1SaveClick() { SaveClick(); }
    void Button2CanClick() { CancelClick(); }

  protected:
    void showEvent(QShowEvent* event) override;
    bool Save(const EditorBuffer& buffer, const Lines& lines) override;
};
