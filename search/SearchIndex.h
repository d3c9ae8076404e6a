#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "store/PerformerRepository.h"

struct sqlite3;
struct CataloguedSong;

// One found song: where it is, and the line to show under it with the typed words marked.
struct SearchHit {
    QByteArray performer;
    QByteArray album;
    QByteArray song;
    bool byName = false;  // a name matched (song, album or performer), not the text
    int line = -1;        // the matching line of the text, -1 for a name
    QString shown;        // that line, or the name that matched
    std::vector<std::pair<int, int>> marks;  // start and length of each matched word in `shown`
};

struct SearchResults {
    // Every song that matches, not only the hits listed; kNotCounted when there are more
    // matches than hits and they were not counted (count() tells).
    static constexpr int kNotCounted = -1;
    int total = kNotCounted;
    std::vector<SearchHit> hits;
    bool counted() const { return total != kNotCounted; }
};

// A failure of the index database; the index is a cache, so the cure is to build it anew.
class IndexError : public std::runtime_error {
  public:
    IndexError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }
    // The file itself is damaged (not a lock or a full disk): only building it anew helps.
    bool damaged() const;

  private:
    int code_;
};

// Progress of bringing the index in step, and the flag that stops it early.
struct IndexProgress {
    std::function<void(int done, int total)> report;
    const std::atomic<bool>* stop = nullptr;
};

// The cache file of the catalogue below `startDir`: named after a hash of that path, so each
// catalogue has its own.
QString IndexFilePath(const QString& cacheFolder, const QString& startDir);

// The full-text index of a catalogue's song names and lyrics (SQLite FTS5). It never writes
// below Data/: it lives in the user's cache folder, or in memory when that cannot be written.
// One connection, used by one thread at a time; reader() gives another one for another thread.
class SearchIndex {
  public:
    // Opens the catalogue's index file, building it anew (empty) when it is missing, corrupt,
    // of an older schema or locked by another process; in memory when the folder cannot be
    // written. Never fails.
    static std::unique_ptr<SearchIndex> open(const QString& cacheFolder, const QString& startDir);
    // Removes the catalogue's index file, so that the next open() builds it anew.
    static void discard(const QString& cacheFolder, const QString& startDir);
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    std::unique_ptr<SearchIndex> reader() const;
    bool inMemory() const { return path_.isEmpty(); }
    const QString& startDir() const { return repository_.startDir(); }

    // Brings the index in step with the files: performers whose three files changed in size or
    // time are read again, new ones added, vanished ones dropped. A long build commits its
    // first thousand songs soon and then ever more at a time, so searches meanwhile find the
    // songs indexed so far.
    void sync(const IndexProgress& progress = IndexProgress());
    // The performer read again; dropped when it is no longer listed or its folder is gone.
    void updatePerformer(const QByteArray& performer);
    void renamePerformer(const QByteArray& oldName, const QByteArray& newName);
    void dropPerformer(const QByteArray& performer);

    // Performers left out because one of their files could not be read.
    int leftOut() const;
    int songCount() const;

    // The first `limit` songs found: those whose names match, then those whose texts match,
    // in the catalogue's order. Only these are looked at, so the first few come at once
    // however many songs match; `total` is filled in only when there are no more.
    SearchResults search(const QString& typed, int limit = 100) const;
    // Every song that matches.
    int count(const QString& typed) const;

  private:
    SearchIndex(sqlite3* db, QString path, const QString& startDir);
    class Statement;
    static sqlite3* openConnection(const QString& target, bool uri);
    bool hasCurrentSchema();
    void createSchema();
    void exec(const char* sql) const;
    qint64 performerId(const QByteArray& performer);
    void indexPerformer(const QByteArray& performer, const std::vector<CataloguedSong>& songs,
                        bool readable, const QByteArray& stamps, const IndexProgress& progress,
                        int& done, int total);
    void dropSongs(qint64 performerId);
    void inTransaction(const std::function<void()>& work);
    std::optional<SearchHit> hitFor(Statement& row, qint64 rowid, const QStringList& words,
                                    bool byName) const;

    sqlite3* db_;
    QString path_;        // empty in memory
    QString memoryName_;  // shared in-memory database, for readers
    PerformerRepository repository_;
};
