#pragma once

#include <QString>

class FileSetChange;

// The per-user first-run flag: the value FirstRun under software/Cantoria in the user's
// settings store (the INI file QSettings keeps for that key), read and written through the
// program's one file-system door like every other file.

// The file that holds the flag.
QString FirstRunFlagPath();
// True when the flag is there; its value does not matter. A file that cannot be read has none.
bool FirstRunFlagSet();
// Writes FirstRun=1, keeping every other line of the file; makes the file's folders as
// needed, each a step of the change. Throws StoreError "Unable to write to <path>" and leaves
// the file as it was.
void WriteFirstRunFlag(FileSetChange& change);
