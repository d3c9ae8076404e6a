#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include "store/FileSetChange.h"

// Thrown before a file is written over that holds what neither this program wrote nor the
// user has seen.
struct ChangedOutside {
    QString path;
};

// What the program last read or wrote of each file it showed or changed: its size and a hash
// of its bytes, never the bytes. A file that holds other bytes now was changed by someone else
// (another copy of the program, a sync tool, an editor). Files the program has not read are
// not known, and nothing is said of them.
class SeenFiles {
  public:
    void saw(const QString& path, QByteArrayView bytes);
    void forget(const QString& path) { stamps_.remove(path); }
    // Every file of a committed change, as the change left it.
    void sawChange(const ChangeJournal& journal);
    bool knows(const QString& path) const { return stamps_.contains(path); }
    // The file was seen and holds other bytes now.
    bool changedSince(const QString& path, QByteArrayView now) const;
    // The file was seen with these bytes.
    bool sawBytes(const QString& path, QByteArrayView bytes) const {
        return knows(path) && !changedSince(path, bytes);
    }

  private:
    struct Stamp {
        qsizetype size;
        size_t hash;
        bool operator==(const Stamp& other) const {
            return size == other.size && hash == other.hash;
        }
    };
    static Stamp stampOf(QByteArrayView bytes);

    QHash<QString, Stamp> stamps_;
};
