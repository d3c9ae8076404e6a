#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

#include "store/FileIo.h"
#include "store/FileSetChange.h"

// Thrown before a file is written over that holds what neither this program wrote nor the
// user has seen.
struct ChangedOutside {
    QString path;
};

// What the program last read or wrote of each file it showed or changed: the file system's
// stamp of it (size, modification time, inode) and its bytes, which the program holds anyway
// (shared with what it read or wrote, so keeping them copies nothing). A file whose stamp is
// the same has not been written since and is not compared at all; one that holds other bytes
// now was changed by someone else (another copy of the program, a sync tool, an editor).
// Files the program has not read are not known, and nothing is said of them.
class SeenFiles {
  public:
    // The file holds these bytes now, as just read or written.
    void saw(const QString& path, const QByteArray& bytes);
    void forget(const QString& path) { seen_.remove(path); }
    // Every file of a committed change, as the change left it.
    void sawChange(const ChangeJournal& journal);
    bool knows(const QString& path) const { return seen_.contains(path); }
    // The bytes last read or written of the file, if any.
    const QByteArray* bytesSeen(const QString& path) const {
        const auto seen = seen_.constFind(path);
        return seen == seen_.cend() ? nullptr : &seen->bytes;
    }
    // The file was seen and has been written since (its bytes may still be the same).
    bool writtenSince(const QString& path) const;
    // The file was seen and holds other bytes now; `now` is what it holds, as just read.
    bool changedSince(const QString& path, const QByteArray& now) const;
    // Writing over the file would lose what the user has not seen: as changedSince, but while
    // held, measured against what the open editor was opened on.
    bool unseenBy(const QString& path, const QByteArray& now) const;
    // An editor opens on what is shown now. Showing another copy's save meanwhile must not
    // count as the editor having seen it, or saving the editor would write over it unasked;
    // only the program's own writes move what is held.
    void hold() { held_ = seen_; }
    void release() { held_.reset(); }

  private:
    struct Seen {
        fileio::FileStamp stamp;
        QByteArray bytes;
    };
    QHash<QString, Seen> seen_;
    std::optional<QHash<QString, Seen>> held_;

    static bool changed(const QHash<QString, Seen>& seen, const QString& path,
                        const QByteArray& now);
};
