#pragma once

#include <QString>
#include <QStringList>

// The copies sync tools leave when two computers changed one file: Syncthing's
// "<name>.sync-conflict-<date>-<time>-<id>.<ext>", Nextcloud's and ownCloud's
// "<name> (conflicted copy <date> <time>).<ext>", Dropbox's
// "<name> (<who>'s conflicted copy <date>).<ext>". They are never read as catalogue data.
bool IsSyncConflictCopy(const QString& fileName);

// The conflict copies of the performer list and the settings file in the data folder, or of
// the three line files in a performer folder, as paths. A folder that cannot be listed has none.
QStringList ConflictCopiesInDataFolder(const QString& startDir);
QStringList ConflictCopiesInPerformerFolder(const QString& folder);
