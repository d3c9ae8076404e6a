#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

#include "session/Command.h"
#include "store/FileSetChange.h"

class KeptBytes;

// The changes of this run that can be undone and redone, newest last. A step keeps the bytes
// of the files its command changed, before and after, never a copy of the catalogue; bytes a
// later step found where an earlier one left them are kept once. Bytes over 1 MB go to a file
// in the cache folder, which goes with the last step that keeps them. At most 100 steps and
// 256 MB of kept bytes: the oldest steps go first.
class ChangeHistory {
  public:
    struct Step {
        CommandLabel label;
        CommandTarget before;  // what to choose again after an undo
        CommandTarget after;   // after a redo
    };

    ChangeHistory();
    ~ChangeHistory();
    ChangeHistory(const ChangeHistory&) = delete;
    ChangeHistory& operator=(const ChangeHistory&) = delete;

    // A new change: the steps that could have been redone go.
    void record(const Step& step, const ChangeJournal& journal);
    // Bytes over 1 MB move to the cache folder; the session has this done once a command is
    // over, so that a save does not wait for it.
    void spillLarge();

    // The step an undo (a redo) would play, if any.
    const Step* toUndo() const;
    const Step* toRedo() const;
    // The journal of that step, its bytes read back from the cache where they went.
    ChangeJournal journalToUndo() const;
    ChangeJournal journalToRedo() const;
    // The step was played back (forward): the next undo (redo) is the one before (after) it.
    void undone();
    void redone();

    int size() const { return int(steps_.size()); }
    // Bytes kept in memory and in the cache folder together.
    qint64 keptBytes() const;
    // The cache files that hold kept bytes now.
    QStringList cacheFiles() const;

    static constexpr int kMaxSteps = 100;
    static constexpr qint64 kMaxBytes = 256LL << 20;
    static constexpr qint64 kSpillAbove = 1LL << 20;

  private:
    struct KeptVersions {
        QString path;
        std::shared_ptr<const KeptBytes> before;  // null: there was no file
        std::shared_ptr<const KeptBytes> after;
    };
    struct Kept {
        Step step;
        QList<KeptVersions> files;
        QStringList madeFolders;
        QStringList removedFolders;
    };
    std::shared_ptr<const KeptBytes> keep(const QString& path,
                                          const std::optional<QByteArray>& bytes) const;
    ChangeJournal journalOf(const Kept& kept) const;
    void dropOldest();

    QList<Kept> steps_;
    int undone_ = 0;  // how many of the newest steps have been undone
};
