#pragma once

#include <Qt>
#include <initializer_list>

class QBoxLayout;
class QDialog;
class QPlainTextEdit;
class QWidget;

// A dialog of fixed size with the system menu only (no help or size buttons).
inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint;

// Stacks the controls over a row of buttons aligned to the right, and fixes the size of the
// dialog to what they need.
void LayOutFixedDialog(QDialog* dialog, std::initializer_list<QWidget*> controls,
                       std::initializer_list<QWidget*> buttons);

// The free-text editor of a list, one entry per line, without scroll bars.
QPlainTextEdit* NewListEditor(QWidget* parent);
