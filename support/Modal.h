#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include "session/Feedback.h"

class QDialog;
class QPrinter;
class QWidget;

// Every modal interaction of the program (message boxes, the common dialogs, showing a dialog
// modally) goes through this seam, so that tests can script the answers and read back every
// box that was shown.

struct MessageBox {
    MsgKind kind = MsgKind::Information;
    QString caption;  // "Information", "Warning", "Error", "Confirm", or "Cantoria"
    QString text;     // "\r" starts a new line inside the message
    int buttons = Ok;
};

struct OpenFileRequest {
    QString title;
    QStringList filters;  // "Shown text (*.a *.b)"
};

class ModalSeam {
  public:
    virtual ~ModalSeam() = default;
    // Returns the button pressed, NoButton when the box was closed.
    virtual MsgButton message(QWidget* parent, const MessageBox& box) = 0;
    // `font` holds the dialog's start value and receives the choice; false on cancel.
    virtual bool chooseFont(QWidget* parent, QFont& font, QColor& color) = 0;
    virtual bool chooseColor(QWidget* parent, QColor& color) = 0;
    // The chosen file, empty on cancel.
    virtual QString openFile(QWidget* parent, const OpenFileRequest& request) = 0;
    // A folder, chosen in Qt's folder dialog opened at `start`; empty on cancel.
    virtual QString chooseFolder(QWidget* parent, const QString& title, const QString& start) = 0;
    // A one-line text; false on cancel.
    virtual bool inputText(QWidget* parent, const QString& title, const QString& prompt,
                           QString& text) = 0;
    // Shows the dialog modally and returns its result.
    virtual int exec(QDialog* dialog) = 0;
    // The print dialog: the user sets up `printer` (a printer, or a PDF file); false on cancel.
    // An options tab, when given, is shown among the dialog's tabs under its window title;
    // the seam takes it over and deletes it before returning, so it hands its choices on
    // while the user makes them.
    virtual bool print(QWidget* parent, QPrinter& printer, QWidget* optionsTab = nullptr) = 0;
};

ModalSeam& Modal();
// Installs another seam (tests); nullptr restores the real one.
void SetModalSeam(ModalSeam* seam);

// The four kinds of message box, captioned "Information", "Warning", "Error", "Confirm".
MsgButton ShowMessage(QWidget* parent, MsgKind kind, const QString& text, int buttons = Ok);
inline MsgButton Inform(QWidget* parent, const QString& text, int buttons = Ok) {
    return ShowMessage(parent, MsgKind::Information, text, buttons);
}

// The general error report: an error box titled "Cantoria" with OK, showing the failure's
// description, with a full stop appended when its last character sorts after ".".
void ShowErrorReport(QWidget* parent, const QString& description);
QString ErrorReportText(const QString& description);

// The session's commands talk to the user through the boxes of the window that started them.
class WidgetFeedback : public Feedback {
  public:
    explicit WidgetFeedback(QWidget* parent) : parent_(parent) {}
    MsgButton tell(const Notice& notice) override;
    void errorReport(const QString& description) override;

  private:
    QWidget* parent_;
};
