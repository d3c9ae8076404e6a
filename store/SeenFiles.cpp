#include "store/SeenFiles.h"

void SeenFiles::saw(const QString& path, const QByteArray& bytes) {
    seen_.insert(path, {fileio::stampOf(path), bytes});
}

void SeenFiles::sawChange(const ChangeJournal& journal) {
    for (const FileVersions& file : journal.files) {
        if (file.after)
            saw(file.path, *file.after);
        else
            forget(file.path);
    }
}

// A write in place of as many bytes within the file system's clock tick would keep the stamp;
// editors and sync tools write a new file and rename it, which never does.
bool SeenFiles::writtenSince(const QString& path) const {
    const auto seen = seen_.constFind(path);
    return seen != seen_.cend() && !(fileio::stampOf(path) == seen->stamp);
}

bool SeenFiles::changedSince(const QString& path, const QByteArray& now) const {
    const auto seen = seen_.constFind(path);
    return seen != seen_.cend() && !(fileio::stampOf(path) == seen->stamp) && seen->bytes != now;
}
