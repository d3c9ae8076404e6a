#include "store/FileSetChange.h"

#include <cerrno>

#include "store/FileIo.h"
#include "store/StoreError.h"

namespace {

std::optional<QByteArray> currentBytes(const QString& path) {
    try {
        return fileio::readAll(path);
    } catch (const StoreReadError& e) {
        if (e.error() == ENOENT) return std::nullopt;
        throw;
    }
}

QString folderOf(const QString& path) {
    return path.left(path.lastIndexOf(u'/'));
}

FileVersions* findIn(QList<FileVersions>& files, const QString& path) {
    for (FileVersions& f : files)
        if (f.path == path) return &f;
    return nullptr;
}

// One file's versions into the journal: a path seen before keeps its first bytes before.
void record(ChangeJournal& journal, const QString& path, const std::optional<QByteArray>& before,
            const std::optional<QByteArray>& after) {
    if (FileVersions* known = findIn(journal.files, path))
        known->after = after;
    else
        journal.files.append({path, before, after});
}

}  // namespace

void ChangeJournal::append(const ChangeJournal& later) {
    for (const FileVersions& f : later.files) record(*this, f.path, f.before, f.after);
    madeFolders += later.madeFolders;
    removedFolders += later.removedFolders;
}

const FileVersions* ChangeJournal::find(const QString& path) const {
    for (const FileVersions& f : files)
        if (f.path == path) return &f;
    return nullptr;
}

FileSetChange::~FileSetChange() {
    if (!committed_ && rollBack() && undone_) undone_();
}

ChangeJournal FileSetChange::commit() {
    flushFoldersBut(QString());
    ChangeJournal done = journal();
    committed_ = true;
    steps_.clear();
    return done;
}

ChangeJournal FileSetChange::journal() const {
    ChangeJournal done;
    for (const Step& step : steps_) {
        switch (step.kind) {
            case Kind::Replaced:
            case Kind::Created:
                record(done, step.path, step.old, step.now);
                break;
            case Kind::Renamed:
                record(done, step.from, step.now, std::nullopt);
                record(done, step.path, std::nullopt, step.now);
                break;
            case Kind::MadeDir:
                done.madeFolders.append(step.path);
                break;
            case Kind::RemovedDir:
                done.removedFolders.append(step.path);
                break;
        }
    }
    return done;
}

void FileSetChange::rememberFolderOf(const QString& path) {
    const QString folder = folderOf(path);
    for (const QString& name : std::as_const(unflushed_))
        if (folderOf(name) == folder) return;
    unflushed_.append(path);
}

// Flushes the folders still to be flushed; `folder` is left to the save that comes next.
void FileSetChange::flushFoldersBut(const QString& folder) {
    for (const QString& name : std::as_const(unflushed_))
        if (folderOf(name) != folder) fileio::flushFolderOf(name);
    unflushed_.clear();
}

// The file's bytes now, shown to the guard before the step touches the file.
QByteArray FileSetChange::guarded(const QString& path, const std::optional<QByteArray>& current) {
    const QByteArray bytes = current ? *current : fileio::readAll(path);
    if (guard_) guard_(path, bytes);
    return bytes;
}

void FileSetChange::replace(const QString& path, const QByteArray& bytes,
                            const std::optional<QByteArray>& current) {
    std::optional<QByteArray> old = current ? current : currentBytes(path);
    if (old) guarded(path, old);
    fileio::writeAtomic(path, bytes, fileio::FolderFlush::Pending);
    steps_.append({Kind::Replaced, path, QString(), std::move(old), bytes});
    rememberFolderOf(path);
}

void FileSetChange::replaceLast(const QString& path, const QByteArray& bytes,
                                const std::optional<QByteArray>& current) {
    std::optional<QByteArray> old = current ? current : currentBytes(path);
    if (old) guarded(path, old);
    flushFoldersBut(folderOf(path));
    fileio::writeAtomic(path, bytes);
    // Nothing comes after it that could fail and need its old bytes back; the journal still
    // wants them.
    steps_.append({Kind::Replaced, path, QString(), std::move(old), bytes});
}

void FileSetChange::rename(const QString& from, const QString& to) {
    const QByteArray bytes = guarded(from, std::nullopt);
    fileio::renameNoReplace(from, to, fileio::FolderFlush::Pending);
    steps_.append({Kind::Renamed, to, from, std::nullopt, bytes});
    rememberFolderOf(to);
}

void FileSetChange::copyNew(const QString& from, const QString& to) {
    const QByteArray bytes = fileio::copyNew(from, to, fileio::FolderFlush::Pending);
    steps_.append({Kind::Created, to, QString(), std::nullopt, bytes});
    rememberFolderOf(to);
}

void FileSetChange::createNew(const QString& path, const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        fileio::createNewFile(path);
    } else {
        if (fileio::exists(path) || fileio::isSymLink(path)) throw StoreError(EEXIST, path);
        fileio::writeAtomic(path, bytes, fileio::FolderFlush::Pending);
        rememberFolderOf(path);
    }
    steps_.append({Kind::Created, path, QString(), std::nullopt, bytes});
}

void FileSetChange::remove(const QString& path) {
    QByteArray old = guarded(path, std::nullopt);
    fileio::removeFile(path);
    steps_.append({Kind::Replaced, path, QString(), std::move(old), std::nullopt});
}

void FileSetChange::makeDir(const QString& path) {
    fileio::makeDir(path);
    steps_.append({Kind::MadeDir, path, QString(), std::nullopt, std::nullopt});
}

void FileSetChange::removeDir(const QString& path) {
    fileio::removeDir(path);
    steps_.append({Kind::RemovedDir, path, QString(), std::nullopt, std::nullopt});
}

bool FileSetChange::moveFolderToTrash(const QString& folder) {
    const auto files = int(fileio::Listing::Files) | int(fileio::Listing::Hidden);
    const auto folders = int(fileio::Listing::Dirs) | int(fileio::Listing::Hidden);
    QList<Step> removed;  // in the order remove() and removeDir() would have taken them
    for (const QString& inner : fileio::listDir(folder, folders)) {
        const QString path = folder + u'/' + inner;
        if (!fileio::listDir(path, folders).isEmpty()) return false;
        for (const QString& name : fileio::listDir(path, files))
            removed.append({Kind::Replaced, path + u'/' + name, QString(),
                            guarded(path + u'/' + name, std::nullopt), std::nullopt});
        removed.append({Kind::RemovedDir, path, QString(), std::nullopt, std::nullopt});
    }
    for (const QString& name : fileio::listDir(folder, files))
        removed.append({Kind::Replaced, folder + u'/' + name, QString(),
                        guarded(folder + u'/' + name, std::nullopt), std::nullopt});
    removed.append({Kind::RemovedDir, folder, QString(), std::nullopt, std::nullopt});
    if (!fileio::moveToTrash(folder)) return false;
    steps_ += removed;
    return true;
}

bool FileSetChange::rollBack() noexcept {
    bool whole = true;
    for (auto step = steps_.crbegin(); step != steps_.crend(); ++step) {
        try {
            switch (step->kind) {
                case Kind::Replaced:
                    if (step->old)
                        fileio::writeAtomic(step->path, *step->old);
                    else
                        fileio::removeFile(step->path);
                    break;
                case Kind::Renamed:
                    fileio::renameNoReplace(step->path, step->from);
                    break;
                case Kind::Created:
                    fileio::removeFile(step->path);
                    break;
                case Kind::MadeDir:
                    fileio::removeDir(step->path);
                    break;
                case Kind::RemovedDir:
                    fileio::makeDir(step->path);
                    break;
            }
        } catch (const StoreError&) {
            whole = false;  // the first failure is the one the user hears of
        }
    }
    steps_.clear();
    unflushed_.clear();  // the undo flushed what it put back
    return whole;
}
