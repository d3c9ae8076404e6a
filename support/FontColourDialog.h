#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QComboBox;
class QFontDialog;
class QPushButton;

// The font dialog with a colour choice, as the system font dialogs of desktops have it: Qt's
// font dialog without its own buttons, a drop-down of the sixteen usual colours with "Другой…"
// for any other (through the colour dialog), and OK and Cancel.
class FontColourDialog : public QDialog {
    Q_OBJECT
  public:
    FontColourDialog(const QFont& font, const QColor& colour, QWidget* parent = nullptr);

    QFont chosenFont() const;
    QColor chosenColour() const { return colour_; }

    QFontDialog* fontDialog;
    QComboBox* colourBox;
    QPushButton* okButton;
    QPushButton* cancelButton;

  private:
    void addColour(const QColor& colour, const QString& name);
    void showColour(const QColor& colour);
    void colourBoxActivated(int index);

    QColor colour_;
};
