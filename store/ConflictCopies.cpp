#include "store/ConflictCopies.h"

#include <QRegularExpression>

#include "store/FileIo.h"
#include "store/StorePaths.h"

bool IsSyncConflictCopy(const QString& fileName) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(\.sync-conflict-\d{8}-\d{6}-[A-Z0-9]+|)"
                       R"( \(conflicted copy \d{4}-\d{2}-\d{2}[ \d]*\)|)"
                       R"( \(.+'s conflicted copy \d{4}-\d{2}-\d{2}.*\))"));
    return pattern.match(fileName).hasMatch();
}

namespace {

// The copies in `folder` of files whose names (without extension) are these.
QStringList CopiesOf(const QString& folder, const QStringList& originals) {
    QStringList copies;
    QStringList names;
    try {
        names = fileio::listDir(folder, int(fileio::Listing::Files) | int(fileio::Listing::Hidden));
    } catch (const StoreError&) {
        return copies;
    }
    for (const QString& name : names) {
        if (!IsSyncConflictCopy(name)) continue;
        for (const QString& original : originals) {
            const QString stem = original.left(original.lastIndexOf(u'.'));
            if (name.startsWith(stem, Qt::CaseInsensitive)) {
                copies << folder + u'/' + name;
                break;
            }
        }
    }
    return copies;
}

}  // namespace

QStringList ConflictCopiesInDataFolder(const QString& startDir) {
    return CopiesOf(PerformerStorePath(startDir, StoreEntry::DataFolder),
                    {kPerformerListName, kSettingsName});
}

QStringList ConflictCopiesInPerformerFolder(const QString& folder) {
    return CopiesOf(folder, {kAlbumListName, kSongListName, kTextFileName});
}
