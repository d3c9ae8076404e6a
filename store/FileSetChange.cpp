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

void FileSetChange::replace(const QString& path, const QByteArray& bytes) {
    std::optional<QByteArray> old = currentBytes(path);
    fileio::writeAtomic(path, bytes);
    steps_.append({Kind::Replaced, path, QString(), std::move(old)});
}

void FileSetChange::replaceLast(const QString& path, const QByteArray& bytes) {
    fileio::writeAtomic(path, bytes);
}

void FileSetChange::rename(const QString& from, const QString& to) {
    fileio::renameNoReplace(from, to);
    steps_.append({Kind::Renamed, to, from, std::nullopt});
}

void FileSetChange::copyNew(const QString& from, const QString& to) {
    fileio::copyNew(from, to);
    steps_.append({Kind::Created, to, QString(), std::nullopt});
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
