#include "session/ChangeHistory.h"

#include <QDir>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>

// One version of a file as a step keeps it: in memory, or, when large, in a file of the cache
// folder that lives as long as the last step that keeps it. The cache files are the program's
// own and are read back whole, so Qt's temporary files do (they go when this goes).
class KeptBytes {
  public:
    explicit KeptBytes(const QByteArray& bytes) : size_(bytes.size()), inMemory_(bytes) {}
    qint64 size() const { return size_; }
    QByteArray bytes() const {
        if (!file_) return inMemory_;
        file_->seek(0);
        return file_->readAll();
    }
    // Bytes in the cache are not compared: reading them back would cost a save what it spares.
    bool equals(const QByteArray& other) const {
        // Bytes shared with the step before (the usual case) are equal without a look at them.
        // A save most often changes the end of a file (a saved text goes last), so the end is
        // looked at first.
        if (file_ || other.size() != size_) return false;
        if (inMemory_.constData() == other.constData()) return true;
        const qsizetype tail = std::min<qsizetype>(size_, 4096);
        return inMemory_.last(tail) == other.last(tail) && inMemory_ == other;
    }
    QString cacheFile() const { return file_ ? file_->fileName() : QString(); }

    // Large bytes go to the cache folder. Where it cannot take them, they stay in memory: a
    // step is never lost for want of a place to keep it.
    void spillIfLarge() const {
        if (file_ || size_ <= ChangeHistory::kSpillAbove) return;
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/undo";
        if (!QDir().mkpath(folder)) return;
        auto file = std::make_unique<QTemporaryFile>(folder + "/step-XXXXXX");
        if (!file->open() || file->write(inMemory_) != size_ || !file->flush()) return;
        file_ = std::move(file);
        inMemory_ = QByteArray();
    }

  private:
    qint64 size_;
    mutable QByteArray inMemory_;
    mutable std::unique_ptr<QTemporaryFile> file_;
};

ChangeHistory::ChangeHistory() = default;
ChangeHistory::~ChangeHistory() = default;

std::shared_ptr<const KeptBytes> ChangeHistory::keep(const QString& path,
                                                     const std::optional<QByteArray>& bytes) const {
    if (!bytes) return nullptr;
    // The bytes a change found are most often those the step before left.
    for (auto step = steps_.crbegin(); step != steps_.crend(); ++step) {
        for (const KeptVersions& file : step->files) {
            if (file.path != path) continue;
            if (file.after && file.after->equals(*bytes)) return file.after;
            if (file.before && file.before->equals(*bytes)) return file.before;
        }
    }
    return std::make_shared<const KeptBytes>(*bytes);
}

void ChangeHistory::record(const Step& step, const ChangeJournal& journal) {
    steps_.remove(steps_.size() - undone_, undone_);
    undone_ = 0;
    Kept kept{step, {}, journal.madeFolders, journal.removedFolders};
    for (const FileVersions& file : journal.files) {
        auto before = keep(file.path, file.before);
        // A file the change wrote with the bytes it had is kept once.
        auto after = before && file.after && before->equals(*file.after)
                         ? before
                         : std::make_shared<const KeptBytes>(file.after.value_or(QByteArray()));
        if (!file.after) after = nullptr;
        kept.files.append({file.path, std::move(before), std::move(after)});
    }
    steps_.append(std::move(kept));
    while (steps_.size() > kMaxSteps || (steps_.size() > 1 && keptBytes() > kMaxBytes))
        dropOldest();
}

void ChangeHistory::dropOldest() {
    steps_.removeFirst();
}

const ChangeHistory::Step* ChangeHistory::toUndo() const {
    const qsizetype at = steps_.size() - undone_ - 1;
    return at >= 0 ? &steps_.at(at).step : nullptr;
}

const ChangeHistory::Step* ChangeHistory::toRedo() const {
    return undone_ > 0 ? &steps_.at(steps_.size() - undone_).step : nullptr;
}

ChangeJournal ChangeHistory::journalOf(const Kept& kept) const {
    ChangeJournal journal;
    const auto bytes = [](const std::shared_ptr<const KeptBytes>& k) {
        return k ? std::optional<QByteArray>(k->bytes()) : std::nullopt;
    };
    for (const KeptVersions& file : kept.files)
        journal.files.append({file.path, bytes(file.before), bytes(file.after)});
    journal.madeFolders = kept.madeFolders;
    journal.removedFolders = kept.removedFolders;
    return journal;
}

ChangeJournal ChangeHistory::journalToUndo() const {
    return toUndo() ? journalOf(steps_.at(steps_.size() - undone_ - 1)) : ChangeJournal();
}

ChangeJournal ChangeHistory::journalToRedo() const {
    return toRedo() ? journalOf(steps_.at(steps_.size() - undone_)) : ChangeJournal();
}

void ChangeHistory::undone() {
    if (toUndo()) ++undone_;
}

void ChangeHistory::redone() {
    if (toRedo()) --undone_;
}

void ChangeHistory::spillLarge() {
    for (const Kept& step : std::as_const(steps_))
        for (const KeptVersions& file : step.files)
            for (const auto& k : {file.before, file.after})
                if (k) k->spillIfLarge();
}

qint64 ChangeHistory::keptBytes() const {
    QSet<const KeptBytes*> counted;
    qint64 total = 0;
    const auto count = [&](const std::shared_ptr<const KeptBytes>& k) {
        if (k && !counted.contains(k.get())) {
            counted.insert(k.get());
            total += k->size();
        }
    };
    for (const Kept& step : steps_) {
        for (const KeptVersions& file : step.files) {
            count(file.before);
            count(file.after);
        }
    }
    return total;
}

QStringList ChangeHistory::cacheFiles() const {
    QSet<QString> files;
    for (const Kept& step : steps_)
        for (const KeptVersions& file : step.files)
            for (const auto& k : {file.before, file.after})
                if (k && !k->cacheFile().isEmpty()) files.insert(k->cacheFile());
    QStringList list(files.begin(), files.end());
    list.sort();
    return list;
}
