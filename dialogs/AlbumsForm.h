#pragma once

#include "dialogs/LineEditorForm.h"

// Edits the selected performer's album list as free text, one album per line. However the
// dialog ends, the editor is left empty for the next opening.
class TAlbumsForm : public LineEditorForm {
    Q_OBJECT
  public:
    TAlbumsForm(CatalogueSession& session, const EditorBuffer& buffer, QWidget* parent = nullptr);

    QPushButton* SaveButton;
    QPushButton* CancelButton;

    void SaveButtonClick() { SaveClick(); }
    void CancelButtonClick() { CancelClick(); }

  protected:
    // Empty lines are no albums: they go from the editor too.
    QStringList Typed() override;
    bool Save(const EditorBuffer& buffer, const Lines& lines) override;
};
