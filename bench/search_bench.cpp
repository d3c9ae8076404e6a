// Lyrics search over a generated catalogue of 100,000 songs (50 performers of 40 albums of 50
// songs, about 100 MB of Windows-1251 lyrics; words from a Russian-like vocabulary whose
// frequencies fall off as in real texts). Each query (its first page, and then the whole list
// with the count) is timed against a brute-force search of the same words through every
// Texts.lrx, and must find the songs the brute force finds; the full build against reading and
// decoding every file; re-indexing one saved text of a 3,000-song performer and the start-up check
// of 5,000 unchanged performers against the file reading and looking-up they cannot do without.
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <map>
#include <random>

#include "bench/Ratio.h"
#include "search/QueryTranslation.h"
#include "search/SearchIndex.h"
#include "store/Cp1251.h"
#include "store/RecordFile.h"
#include "store/StorePaths.h"

namespace {

constexpr int kPerformers = 50;
constexpr int kAlbums = 40;
constexpr int kSongs = 50;
constexpr int kTextBytes = 1000;

QByteArray W(const char* utf8) {
    return cp1251::encode(QString::fromUtf8(utf8)).bytes;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) std::abort();
}

// Words of one to four syllables in Windows-1251, the most frequent first.
class Vocabulary {
  public:
    explicit Vocabulary(int size) : rng_(1251) {
        const QByteArray consonants = W("бвгджзклмнпрстфхцчшщ");
        const QByteArray vowels = W("аеёиоуыэюя");
        QSet<QByteArray> seen;
        while (int(words_.size()) < size) {
            QByteArray w;
            const int syllables = 1 + int(rng_() % 4);
            for (int s = 0; s < syllables; ++s) {
                w += consonants[int(rng_() % consonants.size())];
                w += vowels[int(rng_() % vowels.size())];
            }
            if (!seen.contains(w)) {
                seen.insert(w);
                words_.push_back(w);
            }
        }
        std::vector<double> weights;
        for (int r = 0; r < size; ++r) weights.push_back(1.0 / (r + 1));
        pick_ = std::discrete_distribution<int>(weights.begin(), weights.end());
    }
    const QByteArray& word(int rank) const { return words_[size_t(rank)]; }
    const QByteArray& next() { return words_[size_t(pick_(rng_))]; }
    QByteArray text(int bytes) {
        QByteArray t;
        while (t.size() < bytes) {
            const int n = 4 + int(rng_() % 5);
            for (int i = 0; i < n; ++i) {
                t += next();
                t += i + 1 < n ? ' ' : ',';
            }
            t += "\r\n";
        }
        return t;
    }

  private:
    std::mt19937 rng_;
    std::vector<QByteArray> words_;
    std::discrete_distribution<int> pick_;
};

QString PathOf(const QString& startDir, StoreEntry kind, const QByteArray& performer = {}) {
    return PerformerStorePath(startDir, kind, performer);
}

QByteArray PerformerName(int p) {
    return W("Исполнитель ") + QByteArray::number(p);
}

// One performer's three files; `version` changes the text of its first song.
struct PerformerFiles {
    QByteArray albums, songs, texts;
};
PerformerFiles MakePerformer(Vocabulary& words, int albums, const QByteArray& firstText) {
    PerformerFiles f;
    for (int a = 0; a < albums; ++a) {
        const QByteArray album = W("Альбом ") + QByteArray::number(a);
        f.albums += album + "\r\n";
        f.songs += SongBlockHeader(album) + "\r\n";
        for (int s = 0; s < kSongs; ++s) {
            const QByteArray song = W("Песня ") + QByteArray::number(s) + ' ' + words.next();
            f.songs += song + "\r\n";
            f.texts += TextBlockHeader(album, song) + "\r\n";
            f.texts +=
                (a == 0 && s == 0 && !firstText.isEmpty()) ? firstText : words.text(kTextBytes);
            f.texts += "endsong\r\n";
        }
        f.songs += "endalbum\r\n";
    }
    return f;
}

void WritePerformer(const QString& startDir, const QByteArray& name, const PerformerFiles& f) {
    QDir().mkpath(PathOf(startDir, StoreEntry::PictureFolder, name));
    WriteFile(PathOf(startDir, StoreEntry::AlbumList, name), f.albums);
    WriteFile(PathOf(startDir, StoreEntry::SongList, name), f.songs);
    WriteFile(PathOf(startDir, StoreEntry::TextFile, name), f.texts);
}

struct Catalogue {
    QTemporaryDir dir;
    QTemporaryDir cache;
    QString startDir;
    Vocabulary words{30000};
    std::unique_ptr<SearchIndex> index;
    QString phrase;

    Catalogue() : startDir(dir.path()) {
        QDir().mkpath(startDir + QStringLiteral("/Data"));
        QByteArray list;
        for (int p = 0; p < kPerformers; ++p) {
            WritePerformer(startDir, PerformerName(p), MakePerformer(words, kAlbums, {}));
            list += PerformerName(p) + "\r\n";
        }
        WriteFile(PathOf(startDir, StoreEntry::PerformerList), list);
        // Two words that follow one another in the first song.
        const RecordLines texts(ReadAll(PathOf(startDir, StoreEntry::TextFile, PerformerName(0))));
        const QList<QByteArray> first = texts[1].toByteArray().split(' ');
        phrase = u'"' + cp1251::decode(first[0] + ' ' + first[1]) + u'"';
        index = SearchIndex::open(cache.path(), startDir);
        index->sync();
    }
    static QByteArray ReadAll(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) std::abort();
        return f.readAll();
    }
};

Catalogue& Shared() {
    static Catalogue c;
    return c;
}

QString Query(const char* which) {
    Catalogue& c = Shared();
    const QString kind = QLatin1String(which);
    if (kind == QLatin1String("rare")) return cp1251::decode(c.words.word(20000));
    if (kind == QLatin1String("common")) return cp1251::decode(c.words.word(0));
    if (kind == QLatin1String("two_words"))
        return cp1251::decode(c.words.word(3) + ' ' + c.words.word(40));
    if (kind == QLatin1String("prefix")) return cp1251::decode(c.words.word(1).left(2));
    return c.phrase;
}

// What the search window asks first: the results it shows at once.
constexpr int kFirstPage = 20;
constexpr int kListed = 100;

// Whether the typed words start words of `text` as the index matches them: every word a prefix
// of some word; in a phrase, each next word starting the word after the one before.
bool StartsWordAt(QStringView text, qsizetype at) {
    return at == 0 || !text[at - 1].isLetterOrNumber();
}
bool HoldsWord(QStringView text, const QString& word) {
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1))
        if (StartsWordAt(text, at)) return true;
    return false;
}
bool HoldsPhrase(QStringView text, const QStringList& words) {
    for (qsizetype at = text.indexOf(words[0]); at >= 0; at = text.indexOf(words[0], at + 1)) {
        if (!StartsWordAt(text, at)) continue;
        qsizetype next = at;
        bool all = true;
        for (int w = 1; all && w < words.size(); ++w) {
            while (next < text.size() && text[next].isLetterOrNumber()) ++next;
            while (next < text.size() && !text[next].isLetterOrNumber()) ++next;
            all = text.mid(next).startsWith(words[w]);
        }
        if (all) return true;
    }
    return false;
}

// The same words looked for without an index: every text file read, decoded and folded, and
// each song's text and names searched for every word. With `songs`, each song found goes
// there as its folded performer and text block header.
int BruteSearch(const char* which, QSet<QString>* songs = nullptr) {
    Catalogue& c = Shared();
    const TranslatedQuery query = TranslateQuery(Query(which));
    const bool phrase = QLatin1String(which) == QLatin1String("phrase");
    int found = 0;
    for (int p = 0; p < kPerformers; ++p) {
        const QString text = SearchFold(cp1251::decode(
            Catalogue::ReadAll(PathOf(c.startDir, StoreEntry::TextFile, PerformerName(p)))));
        for (QStringView song : QStringView(text).split(QStringLiteral("endsong"))) {
            // The names (the block's header) and the text: a phrase is in one or the other.
            song = song.trimmed();
            const qsizetype headerEnd = song.indexOf(u'\r');
            const QStringView names = song.left(headerEnd), lyrics = song.mid(headerEnd + 1);
            bool all =
                !phrase || HoldsPhrase(names, query.words) || HoldsPhrase(lyrics, query.words);
            for (int w = 0; all && !phrase && w < query.words.size(); ++w)
                all = HoldsWord(song, query.words[w]);
            if (!all) continue;
            ++found;
            if (songs) *songs << QString::number(p) + u'|' + names.toString();
        }
    }
    return found;
}

// The songs the brute force finds, once per query.
const QSet<QString>& Expected(const char* which) {
    static std::map<std::string, QSet<QString>> answers;
    auto it = answers.find(which);
    if (it == answers.end()) {
        it = answers.emplace(which, QSet<QString>()).first;
        BruteSearch(which, &it->second);
    }
    return it->second;
}

// An index that finds other songs than the brute force fails, however fast it is.
void CheckAnswers(benchmark::State& state, const char* which, const SearchResults& results) {
    const QSet<QString>& expected = Expected(which);
    if (expected.isEmpty() || results.hits.empty()) return state.SkipWithError("nothing found");
    if (results.counted() && results.total != expected.size())
        return state.SkipWithError("the count differs from the brute force's");
    for (const SearchHit& hit : results.hits) {
        const int p = QByteArray(hit.performer).split(' ').last().toInt();
        const QString key = QString::number(p) + u'|' +
                            SearchFold(cp1251::decode(TextBlockHeader(hit.album, hit.song)));
        if (!expected.contains(key))
            return state.SkipWithError("a song the brute force does not find");
    }
}

// The first page, as the search window shows it at once.
void Indexed(benchmark::State& state, const char* which) {
    Catalogue& c = Shared();
    const QString typed = Query(which);
    SearchResults results;
    for (auto _ : state) results = c.index->search(typed, kFirstPage);
    CheckAnswers(state, which, results);
}

// The whole list and the count, as the search window shows them next.
void Counted(benchmark::State& state, const char* which) {
    Catalogue& c = Shared();
    const QString typed = Query(which);
    SearchResults results;
    for (auto _ : state) {
        results = c.index->search(typed, kListed);
        if (!results.counted()) results.total = c.index->count(typed);
    }
    CheckAnswers(state, which, results);
    state.counters["songs"] = results.total;
}

void BruteForce(benchmark::State& state, const char* which) {
    int found = 0;
    for (auto _ : state) found = BruteSearch(which);
    state.counters["songs"] = found;
}

void FullBuild(benchmark::State& state) {
    Catalogue& c = Shared();
    for (auto _ : state) {
        QTemporaryDir cache;
        auto index = SearchIndex::open(cache.path(), c.startDir);
        index->sync();
        if (index->songCount() != kPerformers * kAlbums * kSongs)
            state.SkipWithError("not every song is indexed");
        if (index->search(Query("rare"), kFirstPage).hits.empty())
            state.SkipWithError("the new index finds nothing");
    }
}

void ReadAndDecodeAll(benchmark::State& state) {
    Catalogue& c = Shared();
    for (auto _ : state) {
        qsizetype chars = 0;
        for (int p = 0; p < kPerformers; ++p)
            for (StoreEntry kind :
                 {StoreEntry::AlbumList, StoreEntry::SongList, StoreEntry::TextFile})
                chars +=
                    cp1251::decode(Catalogue::ReadAll(PathOf(c.startDir, kind, PerformerName(p))))
                        .size();
        benchmark::DoNotOptimize(chars);
    }
}

// A performer of 3,000 songs whose first song's text is saved again and again, as the text
// editor saves it: the block removed and appended anew at the end of the file.
struct BigPerformer {
    QTemporaryDir dir, cache;
    QString startDir;
    Vocabulary words{30000};
    QByteArray name = W("Большой");
    PerformerFiles files;
    QByteArray firstHeader;
    std::unique_ptr<SearchIndex> index;
    int version = 0;

    BigPerformer() : startDir(dir.path()) {
        QDir().mkpath(startDir + QStringLiteral("/Data"));
        files = MakePerformer(words, 60, W("Первый текст\r\n"));
        WritePerformer(startDir, name, files);
        WriteFile(PathOf(startDir, StoreEntry::PerformerList), name + "\r\n");
        firstHeader = files.texts.left(files.texts.indexOf("\r\n"));
        index = SearchIndex::open(cache.path(), startDir);
        index->sync();
    }
    void saveFirstText() {
        Lines lines = RecordLines(files.texts).toList();
        RemoveBlocksSkippingNext(lines, firstHeader, kTextBlockEnd);
        lines << firstHeader << W("Новый текст номер ") + QByteArray::number(++version)
              << kTextBlockEnd;
        WriteFile(PathOf(startDir, StoreEntry::TextFile, name), JoinRecordLines(lines));
    }
};

BigPerformer& Big() {
    static BigPerformer b;
    return b;
}

void ReindexSavedText(benchmark::State& state) {
    BigPerformer& b = Big();
    for (auto _ : state) {
        state.PauseTiming();
        b.saveFirstText();
        state.ResumeTiming();
        b.index->updatePerformer(b.name);
    }
    if (b.index->count(QStringLiteral("\"новый текст номер %1\"").arg(b.version)) != 1)
        state.SkipWithError("the saved text is not found");
}

void ReadAndDecodePerformer(benchmark::State& state) {
    BigPerformer& b = Big();
    for (auto _ : state)
        for (StoreEntry kind : {StoreEntry::AlbumList, StoreEntry::SongList, StoreEntry::TextFile})
            benchmark::DoNotOptimize(
                cp1251::decode(Catalogue::ReadAll(PathOf(b.startDir, kind, b.name))).size());
}

// 5,000 performers with small files, all indexed: the start-up check finds nothing to do.
struct ManyPerformers {
    QTemporaryDir dir, cache;
    QString startDir;
    std::unique_ptr<SearchIndex> index;
    QStringList files;

    ManyPerformers() : startDir(dir.path()) {
        QDir().mkpath(startDir + QStringLiteral("/Data"));
        QByteArray list;
        for (int p = 0; p < 5000; ++p) {
            const QByteArray name = PerformerName(p);
            const QByteArray album = W("Альбом");
            WritePerformer(startDir, name,
                           {album + "\r\n", SongBlockHeader(album) + "\r\nПесня\r\nendalbum\r\n",
                            TextBlockHeader(album, "Песня") + "\r\nslova\r\nendsong\r\n"});
            list += name + "\r\n";
            for (StoreEntry kind :
                 {StoreEntry::AlbumList, StoreEntry::SongList, StoreEntry::TextFile})
                files << PathOf(startDir, kind, name);
        }
        WriteFile(PathOf(startDir, StoreEntry::PerformerList), list);
        index = SearchIndex::open(cache.path(), startDir);
        index->sync();
    }
};

ManyPerformers& Many() {
    static ManyPerformers m;
    return m;
}

void StartUpCheckUnchanged(benchmark::State& state) {
    ManyPerformers& m = Many();
    for (auto _ : state) m.index->sync();
}

void StatEveryFile(benchmark::State& state) {
    ManyPerformers& m = Many();
    for (auto _ : state)
        for (const QString& f : m.files) {
            struct stat st;
            benchmark::DoNotOptimize(::stat(QFile::encodeName(f).constData(), &st));
        }
}

}  // namespace

#define QUERY_PAIR(kind)                                                                    \
    BENCHMARK_CAPTURE(Indexed, kind, #kind)->Unit(benchmark::kMillisecond)->Repetitions(7); \
    BENCHMARK_CAPTURE(Counted, kind, #kind)->Unit(benchmark::kMillisecond)->Repetitions(7); \
    BENCHMARK_CAPTURE(BruteForce, kind, #kind)                                              \
        ->Unit(benchmark::kMillisecond)                                                     \
        ->Iterations(1)                                                                     \
        ->Repetitions(3);
QUERY_PAIR(rare)
QUERY_PAIR(common)
QUERY_PAIR(two_words)
QUERY_PAIR(prefix)
QUERY_PAIR(phrase)
BENCHMARK(FullBuild)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ReadAndDecodeAll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReindexSavedText)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(ReadAndDecodePerformer)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUpCheckUnchanged)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(StatEveryFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    std::vector<RatioCheck> checks;
    for (const char* kind : {"rare", "common", "two_words", "prefix", "phrase"}) {
        checks.push_back(
            {std::string("Indexed/") + kind, std::string("BruteForce/") + kind, 1.0 / 200});
        checks.push_back(
            {std::string("Counted/") + kind, std::string("BruteForce/") + kind, 1.0 / 20});
    }
    checks.push_back({"FullBuild", "ReadAndDecodeAll", 150.0});
    // The limit is 20 ms; reading and decoding the performer's files takes about 1.3 ms here.
    checks.push_back({"ReindexSavedText", "ReadAndDecodePerformer", 15.0});
    checks.push_back({"StartUpCheckUnchanged", "StatEveryFile", 5.0});
    return RunWithRatios(argc, argv, checks);
}
