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

}  // namespace

FileSetChange::~FileSetChange() {
    if (!committed_ && rollBack() && undone_) undone_();
}

void FileSetChange::commit() {
    flushFoldersBut(QString());
    committed_ = true;
    steps_.clear();
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

void FileSetChange::replace(const QString& path, const QByteArray& bytes) {
    std::optional<QByteArray> old = currentBytes(path);
    fileio::writeAtomic(path, bytes, fileio::FolderFlush::Pending);
    steps_.append({Kind::Replaced, path, QString(), std::move(old)});
    rememberFolderOf(path);
}

void FileSetChange::replaceLast(const QString& path, const QByteArray& bytes) {
    flushFoldersBut(folderOf(path));
    fileio::writeAtomic(path, bytes);
}

void FileSetChange::rename(const QString& from, const QString& to) {
    fileio::renameNoReplace(from, to, fileio::FolderFlush::Pending);
    steps_.append({Kind::Renamed, to, from, std::nullopt});
    rememberFolderOf(to);
}

void FileSetChange::copyNew(const QString& from, const QString& to) {
    fileio::copyNew(from, to, fileio::FolderFlush::Pending);
    steps_.append({Kind::Created, to, QString(), std::nullopt});
    rememberFolderOf(to);
}

void FileSetChange::createNew(const QString& path) {
    fileio::createNewFile(path);
    steps_.append({Kind::Created, path, QString(), std::nullopt});
}

void FileSetChange::remove(const QString& path) {
    QByteArray old = fileio::readAll(path);
    fileio::removeFile(path);
    steps_.append({Kind::Replaced, path, QString(), std::move(old)});
}

void FileSetChange::makeDir(const QString& path) {
    fileio::makeDir(path);
    steps_.append({Kind::MadeDir, path, QString(), std::nullopt});
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
            }
        } catch (const StoreError&) {
            whole = false;  // the first failure is the one the user hears of
        }
    }
    steps_.clear();
    unflushed_.clear();  // the undo flushed what it put back
    return whole;
}
