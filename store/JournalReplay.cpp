#include "store/JournalReplay.h"

#include "store/FileIo.h"

namespace {

// What the file is to hold at the end of the replay, and what it holds before it.
const std::optional<QByteArray>& target(const FileVersions& file, Replay direction) {
    return direction == Replay::Back ? file.before : file.after;
}
const std::optional<QByteArray>& expected(const FileVersions& file, Replay direction) {
    return direction == Replay::Back ? file.after : file.before;
}

bool holds(const QString& path, const std::optional<QByteArray>& bytes) {
    if (!bytes) return !fileio::exists(path);
    return fileio::isFile(path) && fileio::fileSize(path) == bytes->size() &&
           fileio::readAll(path) == *bytes;
}

void putBack(FileSetChange& change, const QString& path, const std::optional<QByteArray>& bytes,
             const std::optional<QByteArray>& now) {
    if (!bytes)
        change.remove(path);
    else if (now)
        change.replace(path, *bytes, now);
    else
        change.createNew(path, *bytes);
}

}  // namespace

std::optional<QString> FirstFileChangedSince(const ChangeJournal& journal, Replay direction) {
    for (const FileVersions& file : journal.files)
        if (!holds(file.path, expected(file, direction))) return file.path;
    return std::nullopt;
}

void ReplayJournal(FileSetChange& change, const ChangeJournal& journal, Replay direction) {
    const bool back = direction == Replay::Back;
    const QStringList& toMake = back ? journal.removedFolders : journal.madeFolders;
    const QStringList& toRemove = back ? journal.madeFolders : journal.removedFolders;
    // Made in the order that puts a folder before what it holds: a change removes the inner
    // folder first and makes the outer one first.
    for (qsizetype i = 0; i < toMake.size(); ++i)
        change.makeDir(toMake.at(back ? toMake.size() - 1 - i : i));
    for (const FileVersions& file : journal.files)
        putBack(change, file.path, target(file, direction), expected(file, direction));
    for (qsizetype i = 0; i < toRemove.size(); ++i)
        change.removeDir(toRemove.at(back ? toRemove.size() - 1 - i : i));
}
