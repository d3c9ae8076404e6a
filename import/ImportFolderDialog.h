#pragma once

class QObject;
class TFolderBrowseDialog;

// The folder picker of the two import windows: status line shown, no "New folder" button,
// and the title "Текущий каталог:" where the system language has no caption of its own.
TFolderBrowseDialog* CreateImportFolderDialog(QObject* owner);
