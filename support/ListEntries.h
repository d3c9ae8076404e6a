#pragma once

#include <QStringList>

#include "session/CatalogueSession.h"
#include "store/RecordFile.h"

class QComboBox;
class QListWidget;

// The windows' lists and editors show names and lines decoded from the catalogue's
// Windows-1251 bytes. A list entry keeps its bytes beside the shown text, so that a name goes
// back to the files exactly as it came.

// Refill a list from stored names with that entry selected (-1: none), running no handler.
void FillComboBox(QComboBox* combo, const Lines& names, int selected);
void FillListBox(QListWidget* list, const Lines& names, int selected);

// The entries of a list as stored names, and the selected one (empty when none).
Lines ComboBoxNames(const QComboBox* combo);
QByteArray ComboBoxSelection(const QComboBox* combo);
Lines ListBoxNames(const QListWidget* list);
QByteArray ListBoxSelection(const QListWidget* list);

// Stored lines as an editor shows them.
QStringList DecodeLines(const Lines& lines);

// The large picture window's caption: "Картинка: " alone, "Картинка:" after a command put the
// picture away, or with the performer and the album.
QString PictureCaptionText(const PictureCaption& caption);
