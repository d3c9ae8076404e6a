#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

#include "search/SearchIndex.h"
#include "search/SearchQueries.h"

class QThread;

// Where the index files go: the user's cache folder, unless a test has named another one.
QString SearchCacheFolder();
void SetSearchCacheFolder(const QString& folder);

// The catalogue's index kept in step on a thread of its own, so that neither start-up nor
// any command waits for it; searches run on the caller's thread through a second connection
// and see whatever is indexed so far.
class SearchService : public SearchQueries {
    Q_OBJECT
  public:
    explicit SearchService(QObject* parent = nullptr);
    ~SearchService() override;

    // Opens (or builds) the index of the catalogue below startDir and starts the start-up
    // check: the cheap look at every performer's files, which reads again only those that
    // changed in size or time since the last run.
    void open(const QString& startDir);
    bool isOpen() const { return reader_ != nullptr; }
    bool inMemory() const { return inMemory_; }
    // How many times a damaged index file was built anew in this run.
    int rebuilds() const { return rebuilds_.load(); }

    // A search that finds the file damaged gives nothing and has the index built anew.
    SearchResults search(const QString& typed, int limit) override;
    int count(const QString& typed) override;

    bool busy() const override { return pending_.load() > 0; }
    int songsDone() const override { return done_.load(); }
    int songsToDo() const override { return total_.load(); }
    int leftOut() const override { return leftOut_.load(); }

    // What a command changed, as the catalogue's signals tell it.
    void updatePerformer(const QByteArray& performer);
    void renamePerformer(const QByteArray& oldName, const QByteArray& newName);
    void dropPerformer(const QByteArray& performer);

  private:
    void sync();
    template <typename Result, typename Query>
    Result ask(Result nothing, Query query);
    template <typename Job>
    void post(Job job);
    // These run on thread_.
    void openOnWorker();
    void rebuildOnWorker();
    void syncOnWorker(SearchIndex& index);
    void finishJob();

    QThread* thread_ = nullptr;
    QObject* worker_ = nullptr;            // lives on thread_, runs the jobs there
    std::unique_ptr<SearchIndex> writer_;  // touched only by jobs on thread_
    std::shared_ptr<SearchIndex> reader_;  // on the caller's thread, once the index is open
    bool inMemory_ = false;
    QString cacheFolder_;
    QString startDir_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> rebuilding_{false};  // a damaged file is being built anew
    std::atomic<int> rebuilds_{0};
    std::atomic<int> pending_{0};
    std::atomic<int> done_{0};
    std::atomic<int> total_{0};
    std::atomic<int> leftOut_{0};
};
