#include "search/SearchService.h"

#include <QStandardPaths>
#include <QThread>
#include <QtDebug>

namespace {
QString& CacheFolderOverride() {
    static QString folder;
    return folder;
}
}  // namespace

QString SearchCacheFolder() {
    const QString& chosen = CacheFolderOverride();
    return chosen.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                            : chosen;
}

void SetSearchCacheFolder(const QString& folder) {
    CacheFolderOverride() = folder;
}

SearchService::SearchService(QObject* parent) : SearchQueries(parent) {}

SearchService::~SearchService() {
    if (!thread_) return;
    stop_ = true;
    thread_->quit();
    thread_->wait();
    delete worker_;
}

void SearchService::open(const QString& startDir) {
    if (thread_) return;
    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("search index"));
    worker_ = new QObject;
    worker_->moveToThread(thread_);
    thread_->start(QThread::LowPriority);
    cacheFolder_ = SearchCacheFolder();
    startDir_ = startDir;
    // Opening the file (and checking or creating its tables) is done on the index's thread as
    // well: start-up does not wait for it. Searches give nothing until the reader is here.
    ++pending_;
    QMetaObject::invokeMethod(
        worker_,
        [this] {
            openOnWorker();
            finishJob();
        },
        Qt::QueuedConnection);
    sync();
}

void SearchService::openOnWorker() {
    // Busy until the reader is on the caller's thread: a search there after the last job
    // ended finds it.
    ++pending_;
    writer_ = SearchIndex::open(cacheFolder_, startDir_);
    std::shared_ptr<SearchIndex> reader;
    try {
        reader = writer_->reader();
    } catch (const IndexError& e) {
        qWarning("search index: %s", e.what());
    }
    leftOut_ = writer_->leftOut();
    const bool inMemory = writer_->inMemory();
    QMetaObject::invokeMethod(
        this,
        [this, reader, inMemory] {
            reader_ = reader;
            inMemory_ = inMemory;
            finishJob();
            emit changed();
        },
        Qt::QueuedConnection);
}

void SearchService::rebuildOnWorker() {
    rebuilding_ = true;
    ++rebuilds_;
    writer_.reset();
    SearchIndex::discard(cacheFolder_, startDir_);
    openOnWorker();
    try {
        syncOnWorker(*writer_);
    } catch (const IndexError& e) {
        qWarning("search index: %s", e.what());  // the next look at the files tries again
    }
    rebuilding_ = false;
}

template <typename Job>
void SearchService::post(Job job) {
    if (!thread_) return;
    ++pending_;
    QMetaObject::invokeMethod(
        worker_,
        [this, job] {
            if (!stop_ && writer_) {
                try {
                    job(*writer_);
                } catch (const IndexError& e) {
                    // The index only ever misses songs; the files are untouched. A damaged
                    // file is built anew from them, which takes in what this job was for.
                    qWarning("search index: %s", e.what());
                    if (e.damaged()) rebuildOnWorker();
                }
                try {
                    leftOut_ = writer_->leftOut();
                } catch (const IndexError&) {
                }
            }
            finishJob();
            emit changed();
        },
        Qt::QueuedConnection);
}

void SearchService::finishJob() {
    if (--pending_ == 0) done_ = total_ = 0;
}

void SearchService::sync() {
    post([this](SearchIndex& index) { syncOnWorker(index); });
}

void SearchService::syncOnWorker(SearchIndex& index) {
    IndexProgress progress;
    progress.stop = &stop_;
    progress.report = [this](int done, int total) {
        done_ = done;
        total_ = total;
        emit changed();
    };
    index.sync(progress);
}

void SearchService::updatePerformer(const QByteArray& performer) {
    post([performer](SearchIndex& index) { index.updatePerformer(performer); });
}

void SearchService::renamePerformer(const QByteArray& oldName, const QByteArray& newName) {
    post([oldName, newName](SearchIndex& index) { index.renamePerformer(oldName, newName); });
}

void SearchService::dropPerformer(const QByteArray& performer) {
    post([performer](SearchIndex& index) { index.dropPerformer(performer); });
}

template <typename Result, typename Query>
Result SearchService::ask(Result nothing, Query query) {
    if (!reader_) return nothing;
    try {
        return query(*reader_);
    } catch (const IndexError& e) {
        qWarning("search index: %s", e.what());
        if (e.damaged()) {
            // No more searches of the damaged file; the new one's reader comes when it is open.
            reader_.reset();
            if (!rebuilding_) post([this](SearchIndex&) { rebuildOnWorker(); });
        }
        return nothing;
    }
}

SearchResults SearchService::search(const QString& typed, int limit) {
    SearchResults nothing;
    nothing.total = 0;
    return ask(nothing, [&](const SearchIndex& index) { return index.search(typed, limit); });
}

int SearchService::count(const QString& typed) {
    return ask(0, [&](const SearchIndex& index) { return index.count(typed); });
}
