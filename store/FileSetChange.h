#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// What a change did to one file: its bytes before and after (none: there was no file).
struct FileVersions {
    QString path;
    std::optional<QByteArray> before;
    std::optional<QByteArray> after;
};

// Everything one change did, in the order it did it: enough to put every file back as it was,
// or to make the change again.
struct ChangeJournal {
    QList<FileVersions> files;   // one entry per path, in the order first touched
    QStringList madeFolders;     // in the order made
    QStringList removedFolders;  // in the order removed

    bool isEmpty() const {
        return files.isEmpty() && madeFolders.isEmpty() && removedFolders.isEmpty();
    }
    // What a later change did on top of this one: a path touched by both keeps this one's
    // bytes before and takes the later bytes after.
    void append(const ChangeJournal& later);
    const FileVersions* find(const QString& path) const;
};

// A change that spans several files (a rename rewrites three line files and moves a picture)
// is made one step at a time; each step is recorded, so that when a later step fails the
// earlier ones can be undone and the catalogue never mixes old and new files. Every step
// throws StoreError on failure, as fileio does. A change that is not committed is undone when
// it goes out of scope, whatever stopped it. The steps leave the flush of the folders they
// rename into to the final step: each folder is flushed once, before the change reports
// success. Committed, it hands back its journal.
class FileSetChange {
  public:
    // Looks at a file a step is about to replace, rename or remove, with the bytes it holds
    // now, before anything of it is touched; it may throw to stop the change there.
    using Guard = std::function<void(const QString& path, const QByteArray& current)>;

    FileSetChange() = default;
    ~FileSetChange();
    FileSetChange(const FileSetChange&) = delete;
    FileSetChange& operator=(const FileSetChange&) = delete;

    void setGuard(Guard guard) { guard_ = std::move(guard); }

    // Every step is done: the folders still to be flushed are flushed, and the change stays as
    // it is. When a flush fails it throws, and the change is undone.
    ChangeJournal commit();
    // What the steps have done so far.
    ChangeJournal journal() const;
    // Called after an undo that put everything back as it was.
    void onUndone(std::function<void()> undone) { undone_ = std::move(undone); }

    // Replaces a file's content (writeAtomic), keeping its old bytes to put back. `current`,
    // when given, is what the file holds now, as the caller has just read it.
    void replace(const QString& path, const QByteArray& bytes,
                 const std::optional<QByteArray>& current = std::nullopt);
    // Replaces the file that is written last: a failed write leaves it whole. The other
    // folders are flushed before it lands; its own folder, with every name the change put
    // there, right after, as a single save does.
    void replaceLast(const QString& path, const QByteArray& bytes,
                     const std::optional<QByteArray>& current = std::nullopt);
    // Renames a file, never over an existing one; undone by renaming it back.
    void rename(const QString& from, const QString& to);
    // Copies a file into a new one; undone by removing the copy.
    void copyNew(const QString& from, const QString& to);
    // Creates a new file with these bytes (empty by default); undone by removing it.
    void createNew(const QString& path, const QByteArray& bytes = QByteArray());
    // Removes a file, keeping its bytes to write back.
    void remove(const QString& path);
    // Creates a folder; undone by removing it (it holds only what this change put there).
    void makeDir(const QString& path);
    // Removes an empty folder; undone by making it again.
    void removeDir(const QString& path);
    // Moves a folder that holds files and folders of files only to the desktop's trash,
    // keeping every file's bytes as remove() does: the journal is that of removing them one by
    // one, and so is the undo. False, with nothing done, for a folder of another shape or where
    // there is no trash.
    bool moveFolderToTrash(const QString& folder);

    // Undoes the recorded steps, last first, as far as the file system lets it. True when
    // everything is back as it was.
    bool rollBack() noexcept;

  private:
    enum class Kind { Replaced, Renamed, Created, MadeDir, RemovedDir };
    struct Step {
        Kind kind;
        QString path;
        QString from;                   // Renamed: the old name
        std::optional<QByteArray> old;  // Replaced: the old bytes, none when there was no file
        std::optional<QByteArray> now;  // the bytes the step left at `path`, none when removed
    };
    QByteArray guarded(const QString& path, const std::optional<QByteArray>& current);
    void rememberFolderOf(const QString& path);
    void flushFoldersBut(const QString& folder);

    QList<Step> steps_;
    QStringList unflushed_;  // a name renamed into each folder still to be flushed
    bool committed_ = false;
    std::function<void()> undone_;
    Guard guard_;
};
