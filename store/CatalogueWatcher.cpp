#include "store/CatalogueWatcher.h"

#include <QFileInfo>

#include "store/StoreError.h"
#include "store/StorePaths.h"

CatalogueWatcher::CatalogueWatcher(QString startDir, QObject* parent)
    : QObject(parent), startDir_(std::move(startDir)) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMs);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &CatalogueWatcher::noticed);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &CatalogueWatcher::noticed);
    connect(&quiet_, &QTimer::timeout, this, [this] {
        watchAgain();
        emit changed();
    });
    watchPerformer({});
}

void CatalogueWatcher::watchPerformer(const QByteArray& performer) {
    paths_ = {PerformerStorePath(startDir_, StoreEntry::DataFolder),
              PerformerStorePath(startDir_, StoreEntry::PerformerList)};
    if (!performer.isEmpty()) {
        try {
            for (StoreEntry entry :
                 {StoreEntry::PerformerFolder, StoreEntry::AlbumList, StoreEntry::SongList,
                  StoreEntry::TextFile, StoreEntry::PictureFolder})
                paths_ << PerformerStorePath(startDir_, entry, performer);
        } catch (const StoreNameError&) {
            // a name that forms no path has no folder to watch
        }
    }
    watchAgain();
}

// The first change starts the moment; what follows within it is reported with it.
void CatalogueWatcher::noticed() {
    if (!quiet_.isActive()) quiet_.start();
}

// A file replaced by a rename, or one made again, is a new file to the system's watch: every
// path is watched anew, on what it names now.
void CatalogueWatcher::watchAgain() {
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty()) watcher_.removePaths(watched);
    QStringList existing;
    for (const QString& path : paths_)
        if (QFileInfo::exists(path)) existing << path;
    if (!existing.isEmpty()) watcher_.addPaths(existing);
}
