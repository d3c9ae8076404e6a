// The translation of typed search text into a full-text query: whatever is typed, the query
// parses, holds every word typed, and is the same each time.
#include "fuzz/FuzzTargets.h"

#include <sqlite3.h>

#include "search/QueryTranslation.h"

namespace {

// An empty table of the index's kind: a query that does not parse fails on it as on the index.
sqlite3* QueryChecker() {
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        FUZZ_CHECK(sqlite3_open(":memory:", &d) == SQLITE_OK);
        FUZZ_CHECK(sqlite3_exec(d,
                                "CREATE VIRTUAL TABLE docs USING fts5(names, body, content='', "
                                "prefix='2 3'); INSERT INTO docs(rowid, names, body) "
                                "VALUES(1, 'а', 'б')",
                                nullptr, nullptr, nullptr) == SQLITE_OK);
        return d;
    }();
    return db;
}

bool Parses(const QString& match) {
    sqlite3_stmt* stmt = nullptr;
    FUZZ_CHECK(sqlite3_prepare_v2(QueryChecker(), "SELECT rowid FROM docs WHERE docs MATCH ?1", -1,
                                  &stmt, nullptr) == SQLITE_OK);
    const QByteArray utf8 = match.toUtf8();
    sqlite3_bind_text(stmt, 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

}  // namespace

int FuzzSearchQuery(const uint8_t* data, size_t size) {
    const QString typed = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const TranslatedQuery query = TranslateQuery(typed);
    const TranslatedQuery again = TranslateQuery(typed);
    FUZZ_CHECK(query.match == again.match && query.words == again.words);

    FUZZ_CHECK(query.words == SearchWords(typed));
    for (const QString& word : query.words) {
        FUZZ_CHECK(!word.isEmpty());
        FUZZ_CHECK(query.match.contains(u'"' + QString(word).replace(u'"', QStringLiteral("\"\"")) +
                                        QStringLiteral("\"*")));
    }
    FUZZ_CHECK(query.match.isEmpty() == query.words.isEmpty());
    if (query.match.isEmpty()) return 0;
    FUZZ_CHECK(Parses(query.match));
    return 0;
}
