#include "search/SearchIndex.h"

#include <sqlite3.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>

#include "search/IndexedText.h"
#include "search/PerformerSongs.h"
#include "search/QueryTranslation.h"
#include "store/Cp1251.h"

namespace {

// Bumped whenever the tables change: an index of another version is built anew.
constexpr int kSchemaVersion = 3;
// A build commits its first songs soon, and then ever more at a time, up to a limit: the
// songs of each commit are found by the searches meanwhile, and each commit leaves the index
// a segment that costs merging later.
constexpr int kFirstCommitSongs = 1000;
constexpr int kSongsPerCommit = 20000;

const char* const kSchema = R"sql(
CREATE TABLE performers(id INTEGER PRIMARY KEY, name BLOB NOT NULL UNIQUE,
                        stamps BLOB NOT NULL, readable INTEGER NOT NULL);
CREATE TABLE songs(id INTEGER PRIMARY KEY, performer INTEGER NOT NULL, album BLOB NOT NULL,
                   song BLOB NOT NULL, hash INTEGER NOT NULL);
-- The texts apart: comparing a performer's songs with the files reads only the small rows.
CREATE TABLE texts(id INTEGER PRIMARY KEY, text BLOB NOT NULL);
CREATE INDEX songs_of_performer ON songs(performer);
-- The words alone: names and texts stay in `songs` in their own bytes, so what is shown is
-- exactly what the files hold, while the index holds the words folded before they get here.
CREATE VIRTUAL TABLE docs USING fts5(names, body, content='', prefix='2', tokenize='ascii');
-- The names once more, alone: names rank first, and looking for a common word of the texts
-- among them costs only the few songs that have it in their names. Never ranked: no sizes.
CREATE VIRTUAL TABLE titles USING fts5(names, content='', prefix='2', tokenize='ascii',
                                       columnsize=0);
)sql";

std::atomic<int> memoryIndexes{0};

qint64 TextHash(const QByteArray& text) {
    // Only compared with the hash of the same song's text in an earlier run of this program,
    // to skip texts that did not change; a different Qt hash after an upgrade only means one
    // rebuild.
    return qint64(qHashBits(text.constData(), size_t(text.size()), 0));
}

QByteArray TextBlockKey(const QByteArray& album, const QByteArray& song) {
    return album + '\0' + song;
}

}  // namespace

class SearchIndex::Statement {
  public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        check(sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr));
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement& bind(int i, qint64 v) {
        check(sqlite3_bind_int64(stmt_, i, v));
        return *this;
    }
    Statement& bind(int i, const QByteArray& v) {
        check(sqlite3_bind_blob64(stmt_, i, v.constData(), sqlite3_uint64(v.size()),
                                  SQLITE_TRANSIENT));
        return *this;
    }
    // Text already in UTF-8.
    Statement& bindUtf8(int i, const QByteArray& v) {
        check(sqlite3_bind_text64(stmt_, i, v.constData(), sqlite3_uint64(v.size()),
                                  SQLITE_TRANSIENT, SQLITE_UTF8));
        return *this;
    }
    Statement& bind(int i, const QString& v) {
        const QByteArray utf8 = v.toUtf8();
        check(sqlite3_bind_text64(stmt_, i, utf8.constData(), sqlite3_uint64(utf8.size()),
                                  SQLITE_TRANSIENT, SQLITE_UTF8));
        return *this;
    }
    Statement& bind(int i, const char* v) {
        check(sqlite3_bind_text(stmt_, i, v, -1, SQLITE_STATIC));
        return *this;
    }
    // True while there is a row.
    bool step() {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        check(rc);
        return false;
    }
    void run() {
        while (step()) {
        }
        reset();
    }
    void reset() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    qint64 integer(int col) const { return sqlite3_column_int64(stmt_, col); }
    QByteArray blob(int col) const {
        const char* data = static_cast<const char*>(sqlite3_column_blob(stmt_, col));
        return QByteArray(data, sqlite3_column_bytes(stmt_, col));
    }

  private:
    void check(int rc) const {
        if (rc != SQLITE_OK) throw IndexError(sqlite3_extended_errcode(db_), sqlite3_errmsg(db_));
    }
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

bool IndexError::damaged() const {
    const int primary = code_ & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

namespace {
void RemoveIndexFile(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}
}  // namespace

QString IndexFilePath(const QString& cacheFolder, const QString& startDir) {
    const QByteArray hash =
        QCryptographicHash::hash(startDir.toUtf8(), QCryptographicHash::Sha1).toHex();
    return cacheFolder + QStringLiteral("/search-") + QString::fromLatin1(hash.left(20)) +
           QStringLiteral(".sqlite");
}

SearchIndex::SearchIndex(sqlite3* db, QString path, const QString& startDir)
    : db_(db), path_(std::move(path)), repository_(startDir) {}

SearchIndex::~SearchIndex() {
    sqlite3_close_v2(db_);
}

sqlite3* SearchIndex::openConnection(const QString& target, bool uri) {
    sqlite3* db = nullptr;
    // A shared in-memory index is one cache used by two threads: its connections lock.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE |
                      (uri ? SQLITE_OPEN_URI | SQLITE_OPEN_FULLMUTEX : SQLITE_OPEN_NOMUTEX);
    if (sqlite3_open_v2(QFile::encodeName(target).constData(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 2000);
    return db;
}

void SearchIndex::exec(const char* sql) const {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const std::string what = message ? message : "sqlite error";
        sqlite3_free(message);
        throw IndexError(rc, what);
    }
}

bool SearchIndex::hasCurrentSchema() {
    Statement version(db_, "PRAGMA user_version");
    return version.step() && version.integer(0) == kSchemaVersion;
}

void SearchIndex::createSchema() {
    exec("BEGIN IMMEDIATE");
    exec(kSchema);
    exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    // Fewer, larger segments while thousands of songs go in at once.
    exec("INSERT INTO docs(docs, rank) VALUES('hashsize', 33554432)");
    exec("COMMIT");
}

std::unique_ptr<SearchIndex> SearchIndex::open(const QString& cacheFolder,
                                               const QString& startDir) {
    const QString path = IndexFilePath(cacheFolder, startDir);
    if (QDir().mkpath(cacheFolder)) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            sqlite3* db = openConnection(path, false);
            if (!db) break;
            std::unique_ptr<SearchIndex> index(new SearchIndex(db, path, startDir));
            try {
                // Large pages: the index is written in long runs and read in long doclists;
                // a new file takes this size, one of an earlier run keeps its own.
                index->exec("PRAGMA page_size = 65536");
                index->exec("PRAGMA journal_mode = WAL");
                // A cache: a file damaged by a crash is found and built anew.
                index->exec("PRAGMA synchronous = OFF");
                // Merging the index's segments reads back what it wrote moments ago.
                index->exec("PRAGMA cache_size = -32768");
                if (!index->hasCurrentSchema()) {
                    index->exec("PRAGMA writable_schema = RESET");
                    Statement tables(db, "SELECT count(*) FROM sqlite_master");
                    if (tables.step() && tables.integer(0) > 0)
                        throw IndexError(SQLITE_SCHEMA, "old");
                    index->createSchema();
                }
                return index;
            } catch (const IndexError& e) {
                index.reset();
                const int primary = e.code() & 0xff;
                if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) break;  // another copy
                RemoveIndexFile(path);
            }
        }
    }
    // The cache folder cannot hold the index: this run keeps it in memory, shared by name
    // with the readers of other threads.
    const QString name = QStringLiteral("file:cantoria-search-%1?mode=memory&cache=shared")
                             .arg(memoryIndexes.fetch_add(1));
    sqlite3* db = openConnection(name, true);
    std::unique_ptr<SearchIndex> index(new SearchIndex(db, {}, startDir));
    index->memoryName_ = name;
    index->createSchema();
    return index;
}

void SearchIndex::discard(const QString& cacheFolder, const QString& startDir) {
    RemoveIndexFile(IndexFilePath(cacheFolder, startDir));
}

std::unique_ptr<SearchIndex> SearchIndex::reader() const {
    sqlite3* db = openConnection(inMemory() ? memoryName_ : path_, inMemory());
    if (!db) throw IndexError(SQLITE_CANTOPEN, "cannot open the index for reading");
    std::unique_ptr<SearchIndex> index(new SearchIndex(db, path_, startDir()));
    index->memoryName_ = memoryName_;
    // Shared in-memory tables lock per table: a reader that does not wait for the writer's
    // transaction sees the songs indexed so far, as a reader of the file does.
    if (inMemory()) index->exec("PRAGMA read_uncommitted = 1");
    return index;
}

qint64 SearchIndex::performerId(const QByteArray& performer) {
    Statement find(db_, "SELECT id FROM performers WHERE name = ?1");
    find.bind(1, performer);
    return find.step() ? find.integer(0) : -1;
}

void SearchIndex::dropSongs(qint64 performer) {
    Statement songs(db_,
                    "SELECT s.id, s.album, s.song, t.text FROM songs s JOIN texts t ON t.id = s.id "
                    "WHERE s.performer = ?1");
    Statement remove(db_,
                     "INSERT INTO docs(docs, rowid, names, body) VALUES('delete', ?1, ?2, ?3)");
    Statement removeTitle(db_, "INSERT INTO titles(titles, rowid, names) VALUES('delete', ?1, ?2)");
    Statement name(db_, "SELECT name FROM performers WHERE id = ?1");
    name.bind(1, performer);
    const QByteArray performerName = name.step() ? name.blob(0) : QByteArray();
    songs.bind(1, performer);
    while (songs.step()) {
        const QByteArray names = NamesDocument(performerName, songs.blob(1), songs.blob(2));
        remove.bind(1, songs.integer(0)).bindUtf8(2, names).bindUtf8(3, IndexFold(songs.blob(3)));
        remove.run();
        removeTitle.bind(1, songs.integer(0)).bindUtf8(2, names).run();
    }
    Statement(db_, "DELETE FROM texts WHERE id IN (SELECT id FROM songs WHERE performer = ?1)")
        .bind(1, performer)
        .run();
    Statement(db_, "DELETE FROM songs WHERE performer = ?1").bind(1, performer).run();
}

void SearchIndex::indexPerformer(const QByteArray& performer,
                                 const std::vector<CataloguedSong>& songs, bool readable,
                                 const QByteArray& stamps, const IndexProgress& progress, int& done,
                                 int total) {
    qint64 id = performerId(performer);
    if (id < 0) {
        Statement add(db_, "INSERT INTO performers(name, stamps, readable) VALUES(?1, ?2, ?3)");
        add.bind(1, performer).bind(2, stamps).bind(3, readable ? 1 : 0).run();
        id = sqlite3_last_insert_rowid(db_);
    } else {
        Statement(db_, "UPDATE performers SET stamps = ?2, readable = ?3 WHERE id = ?1")
            .bind(1, id)
            .bind(2, stamps)
            .bind(3, readable ? 1 : 0)
            .run();
    }
    // Songs whose text did not change keep their entry: saving one text of a performer
    // with thousands of songs indexes that one text again.
    struct Known {
        qint64 id;
        qint64 hash;
        QByteArray album;
        QByteArray song;
        bool kept = false;
    };
    QHash<QByteArray, Known> known;
    {
        Statement list(db_, "SELECT id, album, song, hash FROM songs WHERE performer = ?1");
        list.bind(1, id);
        while (list.step())
            known.insert(TextBlockKey(list.blob(1), list.blob(2)),
                         {list.integer(0), list.integer(3), list.blob(1), list.blob(2)});
    }
    Statement oldText(db_, "SELECT text FROM texts WHERE id = ?1");
    Statement removeDoc(db_,
                        "INSERT INTO docs(docs, rowid, names, body) VALUES('delete', ?1, ?2, ?3)");
    Statement removeSong(db_, "DELETE FROM songs WHERE id = ?1");
    Statement removeText(db_, "DELETE FROM texts WHERE id = ?1");
    Statement addSong(db_,
                      "INSERT INTO songs(performer, album, song, hash) VALUES(?1, ?2, ?3, ?4)");
    Statement addText(db_, "INSERT INTO texts(id, text) VALUES(?1, ?2)");
    Statement addDoc(db_, "INSERT INTO docs(rowid, names, body) VALUES(?1, ?2, ?3)");
    Statement removeTitle(db_, "INSERT INTO titles(titles, rowid, names) VALUES('delete', ?1, ?2)");
    Statement addTitle(db_, "INSERT INTO titles(rowid, names) VALUES(?1, ?2)");
    const auto unindex = [&](qint64 songId, const QByteArray& album, const QByteArray& song) {
        oldText.bind(1, songId);
        const QByteArray text = oldText.step() ? oldText.blob(0) : QByteArray();
        oldText.reset();
        const QByteArray names = NamesDocument(performer, album, song);
        removeDoc.bind(1, songId).bindUtf8(2, names).bindUtf8(3, IndexFold(text));
        removeDoc.run();
        removeTitle.bind(1, songId).bindUtf8(2, names).run();
        removeSong.bind(1, songId).run();
        removeText.bind(1, songId).run();
    };
    for (const CataloguedSong& s : songs) {
        const QByteArray key = TextBlockKey(s.album, s.song);
        const qint64 hash = TextHash(s.text);
        auto it = known.find(key);
        if (it != known.end()) {
            it->kept = true;
            if (it->hash == hash) continue;
            unindex(it->id, s.album, s.song);
        }
        addSong.bind(1, id).bind(2, s.album).bind(3, s.song).bind(4, hash).run();
        const qint64 songId = sqlite3_last_insert_rowid(db_);
        addText.bind(1, songId).bind(2, s.text).run();
        const QByteArray names = NamesDocument(performer, s.album, s.song);
        addTitle.bind(1, songId).bindUtf8(2, names).run();
        addDoc.bind(1, songId).bindUtf8(2, names).bindUtf8(3, IndexFold(s.text));
        addDoc.run();
        if (progress.report && ++done % 500 == 0) progress.report(done, total);
    }
    for (auto it = known.begin(); it != known.end(); ++it) {
        if (it->kept) continue;
        unindex(it->id, it->album, it->song);
    }
}

void SearchIndex::inTransaction(const std::function<void()>& work) {
    exec("BEGIN IMMEDIATE");
    try {
        work();
        exec("COMMIT");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void SearchIndex::sync(const IndexProgress& progress) {
    std::vector<QByteArray> names;
    if (!ReadPerformerNames(repository_, names)) return;  // nothing to compare with
    QHash<QByteArray, QByteArray> indexed;                // name → stamps
    {
        Statement all(db_, "SELECT name, stamps FROM performers");
        while (all.step()) indexed.insert(all.blob(0), all.blob(1));
    }
    QSet<QByteArray> listed(names.begin(), names.end());
    for (auto it = indexed.begin(); it != indexed.end(); ++it)
        if (!listed.contains(it.key())) dropPerformer(it.key());

    struct Pending {
        QByteArray name;
        FileStamps stamps;
    };
    std::vector<Pending> changed;
    const PerformerStamper stamper(repository_);
    for (const QByteArray& name : names) {
        if (progress.stop && progress.stop->load()) return;  // the program is closing
        const FileStamps stamps = stamper.stamp(name);
        const auto it = indexed.constFind(name);
        if (it == indexed.constEnd() || FileStamps::fromBytes(*it) != stamps)
            changed.push_back({name, stamps});
    }
    if (changed.empty()) return;
    // Reading every changed performer first tells how many songs the work is about.
    std::vector<std::vector<CataloguedSong>> songs(changed.size());
    std::vector<bool> readable(changed.size());
    int total = 0;
    for (size_t i = 0; i < changed.size(); ++i) {
        if (progress.stop && progress.stop->load()) return;
        readable[i] = ReadPerformerSongs(repository_, changed[i].name, songs[i]);
        total += int(songs[i].size());
    }
    int done = 0;
    if (progress.report) progress.report(0, total);
    size_t next = 0;
    while (next < changed.size()) {
        if (progress.stop && progress.stop->load()) return;
        inTransaction([&] {
            const int until = done + std::clamp(done, kFirstCommitSongs, kSongsPerCommit);
            for (; next < changed.size() && done < until; ++next) {
                if (progress.stop && progress.stop->load()) return;
                indexPerformer(changed[next].name, songs[next], readable[next],
                               changed[next].stamps.toBytes(), progress, done, total);
                std::vector<CataloguedSong>().swap(songs[next]);
            }
        });
        if (progress.report) progress.report(done, total);
    }
}

void SearchIndex::updatePerformer(const QByteArray& performer) {
    std::vector<QByteArray> names;
    const bool unlisted = ReadPerformerNames(repository_, names) &&
                          std::find(names.begin(), names.end(), performer) == names.end();
    if (unlisted || !PerformerFolderExists(repository_, performer)) {
        dropPerformer(performer);
        return;
    }
    const FileStamps stamps = PerformerStamper(repository_).stamp(performer);
    std::vector<CataloguedSong> songs;
    const bool readable = ReadPerformerSongs(repository_, performer, songs);
    int done = 0;
    inTransaction([&] {
        indexPerformer(performer, songs, readable, stamps.toBytes(), IndexProgress(), done, 0);
    });
}

void SearchIndex::renamePerformer(const QByteArray& oldName, const QByteArray& newName) {
    // Every song's names change with the performer's: its songs are indexed anew.
    dropPerformer(oldName);
    updatePerformer(newName);
}

void SearchIndex::dropPerformer(const QByteArray& performer) {
    inTransaction([&] {
        const qint64 id = performerId(performer);
        if (id < 0) return;
        dropSongs(id);
        Statement(db_, "DELETE FROM performers WHERE id = ?1").bind(1, id).run();
    });
}

int SearchIndex::leftOut() const {
    Statement count(db_, "SELECT count(*) FROM performers WHERE readable = 0");
    return count.step() ? int(count.integer(0)) : 0;
}

int SearchIndex::songCount() const {
    Statement count(db_, "SELECT count(*) FROM songs");
    return count.step() ? int(count.integer(0)) : 0;
}

std::optional<SearchHit> SearchIndex::hitFor(Statement& row, qint64 rowid, const QStringList& words,
                                             bool byName) const {
    row.reset();
    row.bind(1, rowid);
    SearchHit hit;
    if (!row.step()) return std::nullopt;  // dropped meanwhile from a shared in-memory index
    hit.performer = row.blob(0);
    hit.album = row.blob(1);
    hit.song = row.blob(2);
    hit.byName = byName;
    if (byName) {
        // The song's own name first, then the album's, then the performer's.
        for (const QByteArray* name : {&hit.song, &hit.album, &hit.performer}) {
            const QString text = cp1251::decode(*name);
            MarkedWords m = MarkWords(text, words);
            if (m.distinct == 0) continue;
            hit.shown = text;
            hit.marks = std::move(m.marks);
            return hit;
        }
        hit.shown = cp1251::decode(hit.song);
        return hit;
    }
    // The first line that holds the most of the typed words.
    const QList<QByteArray> lines = row.blob(3).split('\n');
    int best = 0;
    for (int i = 0; i < lines.size() && best < words.size(); ++i) {
        const QString text = cp1251::decode(lines[i]);
        MarkedWords m = MarkWords(text, words);
        if (m.distinct <= best) continue;
        best = m.distinct;
        hit.line = i;
        hit.shown = text;
        hit.marks = std::move(m.marks);
    }
    return hit;
}

SearchResults SearchIndex::search(const QString& typed, int limit) const {
    SearchResults results;
    const TranslatedQuery query = TranslateQuery(typed);
    if (query.match.isEmpty()) {
        results.total = 0;
        return results;
    }
    exec("BEGIN");  // one view of the index for the whole search
    try {
        // Prepared once: a search shows up to `limit` hits, each looked up here.
        Statement row(
            db_,
            "SELECT p.name, s.album, s.song, t.text FROM songs s JOIN texts t ON t.id = s.id "
            "JOIN performers p ON p.id = s.performer WHERE s.id = ?1");
        QSet<qint64> byName;
        Statement names(db_, "SELECT rowid FROM titles WHERE titles MATCH ?1 LIMIT ?2");
        names.bind(1, query.match).bind(2, limit);
        while (names.step()) {
            const qint64 id = names.integer(0);
            byName.insert(id);
            if (auto hit = hitFor(row, id, query.words, true))
                results.hits.push_back(std::move(*hit));
        }
        if (int(results.hits.size()) < limit) {
            // Unranked: a score would be worked out for every match before the first could be
            // shown. Every song whose names match has its text matched here too.
            const qint64 asked = limit + qint64(byName.size());
            Statement texts(db_, "SELECT rowid FROM docs WHERE docs MATCH ?1 LIMIT ?2");
            texts.bind(1, query.match).bind(2, asked);
            qint64 matched = 0;
            bool more = true;
            while (int(results.hits.size()) < limit && (more = texts.step())) {
                ++matched;
                const qint64 id = texts.integer(0);
                if (byName.contains(id)) continue;
                if (auto hit = hitFor(row, id, query.words, false))
                    results.hits.push_back(std::move(*hit));
            }
            if (!more && matched < asked) results.total = int(matched);  // every match seen
        }
        exec("COMMIT");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    return results;
}

int SearchIndex::count(const QString& typed) const {
    const TranslatedQuery query = TranslateQuery(typed);
    if (query.match.isEmpty()) return 0;
    Statement count(db_, "SELECT count(*) FROM docs WHERE docs MATCH ?1");
    count.bind(1, query.match);
    return count.step() ? int(count.integer(0)) : 0;
}
