#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// A change that spans several files (a rename rewrites three line files and moves a picture)
// is made one step at a time; each step is recorded, so that when a later step fails the
// earlier ones can be undone and the catalogue never mixes old and new files. Every step
// throws StoreError on failure, as fileio does. A change that is not committed is undone when
// it goes out of scope, whatever stopped it. The steps leave the flush of the folders they
// rename into to the final step: each folder is flushed once, before the change reports
// success.
class FileSetChange {
  public:
    FileSetChange() = default;
    ~FileSetChange();
    FileSetChange(const FileSetChange&) = delete;
    FileSetChange& operator=(const FileSetChange&) = delete;

    // Every step is done: the folders still to be flushed are flushed, and the change stays as
    // it is. When a flush fails it throws, and the change is undone.
    void commit();
    // Called after an undo that put everything back as it was.
    void onUndone(std::function<void()> undone) { undone_ = std::move(undone); }

    // Replaces a file's content (writeAtomic), keeping its old bytes to put back.
    void replace(const QString& path, const QByteArray& bytes);
    // Replaces the file that is written last: a failed write leaves it whole, so no copy of
    // its old bytes is needed. The other folders are flushed before it lands; its own folder,
    // with every name the change put there, right after, as a single save does.
    void replaceLast(const QString& path, const QByteArray& bytes);
    // Renames a file, never over an existing one; undone by renaming it back.
    void rename(const QString& from, const QString& to);
    // Copies a file into a new one; undone by removing the copy.
    void copyNew(const QString& from, const QString& to);
    // Creates a new empty file; undone by removing it.
    void createNew(const QString& path);
    // Removes a file, keeping its bytes to write back.
    void remove(const QString& path);
    // Creates a folder; undone by removing it (it holds only what this change put there).
    void makeDir(const QString& path);

    // Undoes the recorded steps, last first, as far as the file system lets it. True when
    // everything is back as it was.
    bool rollBack() noexcept;

  private:
    enum class Kind { Replaced, Renamed, Created, MadeDir };
    struct Step {
        Kind kind;
        QString path;
        QString from;                   // Renamed: the old name
        std::optional<QByteArray> old;  // Replaced: the old bytes, none when there was no file
    };
    void rememberFolderOf(const QString& path);
    void flushFoldersBut(const QString& folder);

    QList<Step> steps_;
    QStringList unflushed_;  // a name renamed into each folder still to be flushed
    bool committed_ = false;
    std::function<void()> undone_;
};
