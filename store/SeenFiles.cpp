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
        if (held_) {
            if (file.after)
                held_->insert(file.path, seen_.value(file.path));
            else
                held_->remove(file.path);
        }
    }
}

// A write in place of as many bytes within the file system's clock tick would keep the stamp;
// editors and sync tools write a new file and rename it, which never does.
bool SeenFiles::writtenSince(const QString& path) const {
    const auto seen = seen_.constFind(path);
    return seen != seen_.cend() && !(fileio::stampOf(path) == seen->stamp);
}

bool SeenFiles::changedSince(const QString& path, const QByteArray& now) const {
    return changed(seen_, path, now);
}

bool SeenFiles::unseenBy(const QString& path, const QByteArray& now) const {
    return changed(held_ && held_->contains(path) ? *held_ : seen_, path, now);
}

bool SeenFiles::changed(const QHash<QString, Seen>& seen, const QString& path,
                        const QByteArray& now) {
    const auto file = seen.constFind(path);
    return file != seen.cend() && !(fileio::stampOf(path) == file->stamp) && file->bytes != now;
}
