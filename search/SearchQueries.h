#pragma once

#include <QObject>
#include <QString>

#include "search/SearchIndex.h"

// What the search window asks of the catalogue's index: the songs found for what is typed,
// and how far the index is from being in step with the files. Whoever keeps the index in step
// (the composition root, from the session's signals) stays out of the window's sight.
class SearchQueries : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // The first `limit` songs found; their total when there are no more (SearchResults).
    virtual SearchResults search(const QString& typed, int limit) = 0;
    // Every song found.
    virtual int count(const QString& typed) = 0;

    // While the index is being brought in step: songs done and songs to do.
    virtual bool busy() const = 0;
    virtual int songsDone() const = 0;
    virtual int songsToDo() const = 0;
    // Performers left out because one of their files could not be read.
    virtual int leftOut() const = 0;

  signals:
    // Some songs were indexed, or a job ended: searches may give other results now.
    void changed();
};
