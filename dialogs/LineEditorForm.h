#pragma once

#include <optional>

#include "support/EditorBuffers.h"
#include "support/Form.h"

class QFrame;
class QPlainTextEdit;
class QPushButton;

// The three line editors (album list, song list, song text): the lines in an editor, one per
// line, a Save and a Cancel button. Saving hands the typed lines, in the catalogue's code page,
// to the editor's command; the dialog closes when the command is done.
class LineEditorForm : public Form {
    Q_OBJECT
  public:
    struct Design {
        bool resizable = false;       // the text editor: grows with the window, buttons on a panel
        bool pathCharFilter = false;  // the album list: names become file names
        bool fontSize = false;        // the text editor takes the user's font size too
        bool emptiedWhenDone = true;  // however it ends, the next opening starts anew
    };
    LineEditorForm(CatalogueSession& session, const EditorBuffer& buffer, const Design& design,
                   QWidget* parent);

    QPlainTextEdit* Memo1;

  protected:
    // The typed lines as the editor's rules take them; the editor may show them anew.
    virtual QStringList Typed();
    // Runs the editor's command with the lines; true when it is done.
    virtual bool Save(const EditorBuffer& buffer, const Lines& lines) = 0;
    void SaveClick();
    void CancelClick();
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

    QPushButton* saveButton_;
    QPushButton* cancelButton_;
    QFrame* panel_ = nullptr;

  private:
    void layOutFixed();
    void layOutResizable();

    const EditorBuffer& buffer_;
    Design design_;
};
