#include "store/SeenFiles.h"

#include <QHashFunctions>

// Two contents of one size with one 64-bit hash are as good as never met, and a save must not
// wait for a cryptographic hash of a 40 MB file.
SeenFiles::Stamp SeenFiles::stampOf(QByteArrayView bytes) {
    return {bytes.size(), qHash(bytes, 0)};
}

void SeenFiles::saw(const QString& path, QByteArrayView bytes) {
    stamps_.insert(path, stampOf(bytes));
}

void SeenFiles::sawChange(const ChangeJournal& journal) {
    for (const FileVersions& file : journal.files) {
        if (file.after)
            saw(file.path, *file.after);
        else
            forget(file.path);
    }
}

bool SeenFiles::changedSince(const QString& path, QByteArrayView now) const {
    const auto stamp = stamps_.constFind(path);
    return stamp != stamps_.cend() && !(*stamp == stampOf(now));
}
