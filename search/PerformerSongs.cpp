#include "search/PerformerSongs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <string_view>

#include "store/RecordFile.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

namespace {

// The index reads on its own thread. It opens files through QFile rather than the program's
// file layer: that layer's fault points and call counts belong to the commands of the
// user-interface thread, and the index only ever reads.
bool ReadLines(const QString& path, RecordLines& lines) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    lines = RecordLines(std::move(bytes));
    return true;
}

QString PathOf(const QString& startDir, StoreEntry kind, const QByteArray& performer) {
    try {
        return PerformerStorePath(startDir, kind, performer);
    } catch (const StoreError&) {
        return {};  // a name that cannot be a folder has no files
    }
}

// The bodies of every block whose header is one of `headers`, in one pass, by the same rule
// as reading each block alone: a header line opens its block unless that block is open
// already, every line of an open block belongs to it (header-like lines included), and the end
// line closes every open block.
QHash<QByteArray, QByteArray> CollectBodies(const RecordLines& lines,
                                            const QSet<QByteArray>& headers,
                                            QByteArrayView endLine) {
    // Lines are gathered as views into the file's buffer and each body joined once: a text
    // file of thousands of songs has a hundred thousand lines.
    std::vector<std::vector<QByteArrayView>> bodies;  // in order of first opening
    QHash<QByteArray, int> opened;
    std::vector<int> open;
    for (QByteArrayView line : lines) {
        if (line == endLine) {
            open.clear();
            continue;
        }
        for (const int body : open) bodies[size_t(body)].push_back(line);
        // A plain search: most lines are lyrics, and this look is made for every one.
        if (std::string_view(line.data(), size_t(line.size())).find("##-**~") ==
            std::string_view::npos)
            continue;
        const QByteArray candidate = line.toByteArray();
        if (!headers.contains(candidate)) continue;
        auto it = opened.find(candidate);
        if (it == opened.end()) {
            it = opened.insert(candidate, int(bodies.size()));
            bodies.emplace_back();
        }
        if (std::find(open.begin(), open.end(), *it) == open.end()) open.push_back(*it);
    }
    QHash<QByteArray, QByteArray> byHeader;
    byHeader.reserve(opened.size());
    for (auto it = opened.begin(); it != opened.end(); ++it) {
        const std::vector<QByteArrayView>& body = bodies[size_t(*it)];
        qsizetype size = 0;
        for (QByteArrayView line : body) size += line.size() + 1;
        QByteArray joined;
        joined.reserve(size);
        for (QByteArrayView line : body) joined.append(line).append('\n');
        byHeader.insert(it.key(), std::move(joined));
    }
    return byHeader;
}

Lines SplitBody(const QByteArray& body) {
    Lines lines = body.split('\n');
    lines.removeLast();  // every body line ends in LF
    return lines;
}

}  // namespace

QByteArray FileStamps::toBytes() const {
    return QByteArray(reinterpret_cast<const char*>(values.data()), sizeof(values));
}

FileStamps FileStamps::fromBytes(const QByteArray& bytes) {
    FileStamps s;
    if (bytes.size() == qsizetype(sizeof(s.values)))
        memcpy(s.values.data(), bytes.constData(), sizeof(s.values));
    else
        s.values.fill(-2);  // matches no file
    return s;
}

PerformerStamper::PerformerStamper(const QString& startDir)
    : folder_(::open(QFile::encodeName(startDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
}

PerformerStamper::~PerformerStamper() {
    if (folder_ >= 0) ::close(folder_);
}

FileStamps PerformerStamper::stamp(const QByteArray& performer) const {
    FileStamps s;
    const StoreEntry kinds[] = {StoreEntry::AlbumList, StoreEntry::SongList, StoreEntry::TextFile};
    for (int i = 0; i < 3; ++i) {
        struct stat st;
        // The store's own path below "." is the path relative to the open catalogue folder.
        const QString path = PathOf(QStringLiteral("."), kinds[i], performer);
        if (folder_ < 0 || path.isEmpty() ||
            ::fstatat(folder_, QFile::encodeName(path).constData(), &st, 0) != 0) {
            s.values[size_t(2 * i)] = -1;
            s.values[size_t(2 * i + 1)] = 0;
            continue;
        }
        s.values[size_t(2 * i)] = st.st_size;
        s.values[size_t(2 * i + 1)] = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
    return s;
}

bool ReadPerformerSongs(const QString& startDir, const QByteArray& performer,
                        std::vector<CataloguedSong>& songs) {
    songs.clear();
    RecordLines albums, songLists, texts;
    if (!ReadLines(PathOf(startDir, StoreEntry::AlbumList, performer), albums) ||
        !ReadLines(PathOf(startDir, StoreEntry::SongList, performer), songLists) ||
        !ReadLines(PathOf(startDir, StoreEntry::TextFile, performer), texts))
        return false;

    QSet<QByteArray> albumHeaders;
    for (QByteArrayView album : albums) albumHeaders.insert(SongBlockHeader(album));
    const auto songBlocks = CollectBodies(songLists, albumHeaders, kSongBlockEnd);

    QSet<QByteArray> seen;  // an album or song listed twice is one place to go to
    std::vector<CataloguedSong> listed;
    QSet<QByteArray> textHeaders;
    seen.reserve(songLists.size());
    textHeaders.reserve(songLists.size());
    for (QByteArrayView albumView : albums) {
        const QByteArray album = albumView.toByteArray();
        for (const QByteArray& song : SplitBody(songBlocks.value(SongBlockHeader(album)))) {
            const QByteArray header = TextBlockHeader(album, song);
            if (seen.contains(header)) continue;
            seen.insert(header);
            textHeaders.insert(header);
            listed.push_back({album, song, {}});
        }
    }
    auto textBlocks = CollectBodies(texts, textHeaders, kTextBlockEnd);
    for (CataloguedSong& s : listed) {
        // Each header is listed once: its text is taken over, not copied.
        const auto it = textBlocks.find(TextBlockHeader(s.album, s.song));
        if (it == textBlocks.end()) continue;
        s.text = std::move(*it);
        if (!s.text.isEmpty()) s.text.chop(1);
    }
    songs = std::move(listed);
    return true;
}

bool ReadPerformerNames(const QString& startDir, std::vector<QByteArray>& names) {
    names.clear();
    RecordLines lines;
    if (!ReadLines(PathOf(startDir, StoreEntry::PerformerList, {}), lines)) return false;
    QSet<QByteArray> seen;
    for (QByteArrayView line : lines) {
        const QByteArray name = line.toByteArray();
        if (name.isEmpty() || seen.contains(name)) continue;
        seen.insert(name);
        names.push_back(name);
    }
    return true;
}
