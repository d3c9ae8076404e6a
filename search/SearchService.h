#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

#include "search/SearchIndex.h"

class QThread;

// Where the index files go: the user's cache folder, unless a test has named another one.
QString SearchCacheFolder();
void SetSearchCacheFolder(const QString& folder);

// The catalogue's index kept in step on a thread of its own, so that neither start-up nor
// any command waits for it; searches run on the caller's thread through a second connection
// and see whatever is indexed so far.
class SearchService : public QObject {
    Q_OBJECT
  public:
    explicit SearchService(QObject* parent = nullptr);
    ~SearchService() override;

    // Opens (or builds) the index of the catalogue below startDir and starts the start-up check.
    void open(const QString& startDir);
    bool isOpen() const { return reader_ != nullptr; }
    bool inMemory() const { return inMemory_; }

    // A search that finds the file damaged gives nothing and has the index built anew.
    SearchResults search(const QString& typed, int limit = 100);

    // While the index is being brought in step: songs done and songs to do.
    bool busy() const { return pending_.load() > 0; }
    int songsDone() const { return done_.load(); }
    int songsToDo() const { return total_.load(); }
    int leftOut() const { return leftOut_.load(); }

    // The cheap check of every performer's files against the index.
    void sync();
    // What a command changed, as the catalogue's signals tell it.
    void updatePerformer(const QByteArray& performer);
    void renamePerformer(const QByteArray& oldName, const QByteArray& newName);
    void dropPerformer(const QByteArray& performer);

  signals:
    // Some songs were indexed, or a job ended: searches may give other results now.
    void changed();

  private:
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
    std::atomic<int> pending_{0};
    std::atomic<int> done_{0};
    std::atomic<int> total_{0};
    std::atomic<int> leftOut_{0};
};
