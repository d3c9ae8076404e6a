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

}  // namespace

FileSetChange::~FileSetChange() {
    if (!committed_ && rollBack() && undone_) undone_();
}

void FileSetChange::commit() noexcept {
    committed_ = true;
    steps_.clear();
}

// A step whose change is made but whose folder was not flushed is recorded all the same: the
// change is undone with the others.
template <typename DoStep>
void FileSetChange::record(DoStep doStep, Step step) {
    try {
        doStep();
    } catch (const fileio::FolderFlushError&) {
        steps_.append(std::move(step));
        throw;
    }
    steps_.append(std::move(step));
}

void FileSetChange::replace(const QString& path, const QByteArray& bytes) {
    std::optional<QByteArray> old = currentBytes(path);
    record([&] { fileio::writeAtomic(path, bytes, fileio::FolderFlush::Reported); },
           {Kind::Replaced, path, QString(), std::move(old)});
}

void FileSetChange::replaceLast(const QString& path, const QByteArray& bytes) {
    fileio::writeAtomic(path, bytes);
}

void FileSetChange::rename(const QString& from, const QString& to) {
    record([&] { fileio::renameNoReplace(from, to, fileio::FolderFlush::Reported); },
           {Kind::Renamed, to, from, std::nullopt});
}

void FileSetChange::copyNew(const QString& from, const QString& to) {
    record([&] { fileio::copyNew(from, to, fileio::FolderFlush::Reported); },
           {Kind::Created, to, QString(), std::nullopt});
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
    return whole;
}
