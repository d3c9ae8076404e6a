#include "store/PerformerCatalogue.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

qsizetype afterLine(const QByteArray& bytes, qsizetype lineStart) {
    const qsizetype lf = bytes.indexOf('\n', lineStart);
    return lf < 0 ? bytes.size() : lf + 1;
}

void appendWritten(QByteArray& bytes, QByteArrayView line) {
    bytes.append(line).append(kLineEnd);
}

// The editors' removal of a block, done on the bytes of a file in the written form: the same
// lines go as RemoveBlocksSkippingNext removes, without splitting a large text file into lines.
// Bytes that no one else holds lose the blocks in place: a large text file is not copied.
QByteArray withoutBlocks(QByteArray bytes, QByteArrayView header, QByteArrayView endLine) {
    QList<std::pair<qsizetype, qsizetype>> kept;  // start and end of each run of kept bytes
    qsizetype keepFrom = 0;
    qsizetype scanFrom = 0;
    for (qsizetype hit; (hit = FindWrittenLine(bytes, header, scanFrom)) >= 0;) {
        kept.append({keepFrom, hit});
        const qsizetype end = FindWrittenLine(bytes, endLine, afterLine(bytes, hit));
        if (end < 0) {  // the block runs to the end of the file
            keepFrom = bytes.size();
            break;
        }
        keepFrom = afterLine(bytes, end);
        scanFrom = afterLine(bytes, keepFrom);  // the next line stays, unexamined
    }
    if (kept.isEmpty()) return bytes;
    kept.append({keepFrom, bytes.size()});
    if (!bytes.isDetached()) {
        QByteArray copy;
        copy.reserve(bytes.size());
        for (const auto& [from, to] : kept)
            copy.append(QByteArrayView(bytes).sliced(from, to - from));
        return copy;
    }
    char* data = bytes.data();
    qsizetype size = 0;
    for (const auto& [from, to] : kept) {
        if (from != size) std::memmove(data + size, data + from, size_t(to - from));
        size += to - from;
    }
    bytes.truncate(size);
    return bytes;
}

void replaceEqualLines(Lines& lines, QByteArrayView from, QByteArrayView to) {
    for (Line& line : lines)
        if (line == from) line = to.toByteArray();
}

// The bodies of every block whose header is one of `headers`, in one pass, by the same rule as
// reading each block alone: a header line opens its block unless that block is open already,
// every line of an open block belongs to it (header-like lines included), and the end line
// closes every open block.
void addLine(Lines& body, QByteArrayView line) {
    body.append(line.toByteArray());
}

// A text in one piece: its lines joined by LF, without a piece of its own for every line.
struct JoinedLines {
    QByteArray text;
    bool empty = true;
};

void addLine(JoinedLines& body, QByteArrayView line) {
    if (!body.empty) body.text += '\n';
    body.text += line;
    body.empty = false;
}

template <class Body>
QHash<QByteArray, Body> collectBodies(const RecordLines& lines, const QSet<QByteArray>& headers,
                                      QByteArrayView endLine) {
    QHash<QByteArray, Body> bodies;
    bodies.reserve(headers.size());
    std::vector<Body*> open;
    for (QByteArrayView line : lines) {
        if (line == endLine) {
            open.clear();
            continue;
        }
        for (Body* body : open) addLine(*body, line);
        // Every header holds the block marker; most lines are lyrics, and this look is made
        // for every one.
        if (std::string_view(line.data(), size_t(line.size())).find(kBlockMarker.constData()) ==
            std::string_view::npos)
            continue;
        const QByteArray candidate = line.toByteArray();
        if (!headers.contains(candidate)) continue;
        Body* body = &bodies[candidate];
        if (std::find(open.begin(), open.end(), body) == open.end()) open.push_back(body);
    }
    return bodies;
}

}  // namespace

// ---------------------------------------------------------------- LineFile

LineFile::LineFile(QByteArray stored) : asRead_(stored) {
    take(std::move(stored));
    changed_ = false;
}

LineFile::LineFile(QByteArray stored, const QByteArray& sameBytes) : asRead_(sameBytes) {
    take(std::move(stored));
    changed_ = false;
}

LineFile LineFile::written(const Lines& lines) {
    return made(JoinRecordLines(lines));
}

LineFile LineFile::made(QByteArray bytes) {
    LineFile file;
    file.take(std::move(bytes));
    return file;
}

void LineFile::take(QByteArray bytes) {
    bytes_ = std::move(bytes);
    lines_.reset();
    changed_ = true;
}

void LineFile::replaceLines(const Lines& lines) {
    take(JoinRecordLines(lines));
}

void LineFile::replaceBlock(QByteArrayView header, QByteArrayView endLine, const Lines& body) {
    QByteArray bytes;
    if (lines().inWrittenForm()) {
        lines_.reset();  // it shares the buffer that may now change in place
        bytes = withoutBlocks(std::move(bytes_), header, endLine);
    } else {
        Lines lines = toList();
        RemoveBlocksSkippingNext(lines, header, endLine);
        bytes = JoinRecordLines(lines);
    }
    appendWritten(bytes, header);
    for (const Line& line : body) appendWritten(bytes, line);
    appendWritten(bytes, endLine);
    take(std::move(bytes));
}

// Written whole from the lines as read, so that a last line without its line end or a Ctrl-Z
// at the end of the file can neither swallow nor hide the new lines.
void LineFile::appendLines(const Lines& lines) {
    take(this->lines().joined() + JoinRecordLines(lines));
}

// A file is split into lines only when they are asked for: a large text file that is saved
// after an edit never is.
const RecordLines& LineFile::lines() const {
    if (!lines_) lines_ = RecordLines(bytes_);
    return *lines_;
}

// ---------------------------------------------------------------- PerformerCatalogue

Lines PerformerCatalogue::songsOf(QByteArrayView album) const {
    return songList.bodies(SongBlockHeader(album), kSongBlockEnd);
}

Lines PerformerCatalogue::textOf(QByteArrayView album, QByteArrayView song) const {
    return textFile.bodies(TextBlockHeader(album, song), kTextBlockEnd);
}

QList<CatalogueAlbum> PerformerCatalogue::albumsWithSongs(QSet<QByteArray>& textHeaders) const {
    const Lines albumNames = albums();
    QSet<QByteArray> songHeaders;
    for (const Line& album : albumNames) songHeaders.insert(SongBlockHeader(album));
    const QHash<QByteArray, Lines> songBlocks =
        collectBodies<Lines>(songList.lines(), songHeaders, kSongBlockEnd);

    QList<CatalogueAlbum> walked;
    walked.reserve(albumNames.size());
    for (const Line& album : albumNames) {
        CatalogueAlbum entry{album, {}};
        for (const Line& song : songBlocks.value(SongBlockHeader(album))) {
            entry.songs.append({song, {}});
            textHeaders.insert(TextBlockHeader(album, song));
        }
        walked.append(std::move(entry));
    }
    return walked;
}

QList<CatalogueAlbum> PerformerCatalogue::walk() const {
    QSet<QByteArray> textHeaders;
    QList<CatalogueAlbum> walked = albumsWithSongs(textHeaders);
    const QHash<QByteArray, Lines> texts =
        collectBodies<Lines>(textFile.lines(), textHeaders, kTextBlockEnd);
    for (CatalogueAlbum& album : walked)
        for (CatalogueSong& song : album.songs)
            song.text = texts.value(TextBlockHeader(album.name, song.name));
    return walked;
}

QList<JoinedSong> PerformerCatalogue::walkJoined() const {
    QSet<QByteArray> textHeaders;
    const QList<CatalogueAlbum> walked = albumsWithSongs(textHeaders);
    const QHash<QByteArray, JoinedLines> texts =
        collectBodies<JoinedLines>(textFile.lines(), textHeaders, kTextBlockEnd);
    QList<JoinedSong> songs;
    for (const CatalogueAlbum& album : walked)
        for (const CatalogueSong& song : album.songs)
            songs.append(
                {album.name, song.name, texts.value(TextBlockHeader(album.name, song.name)).text});
    return songs;
}

bool PerformerCatalogue::setAlbumList(const Lines& albums) {
    albumList.replaceLines(albums);
    const RecordLines& songLines = songList.lines();
    QSet<QByteArray> present;
    present.reserve(songLines.size());
    for (QByteArrayView line : songLines) present.insert(line.toByteArray());
    Lines newBlocks;
    for (const Line& album : albums) {
        const Line header = SongBlockHeader(album);
        if (present.contains(header)) continue;
        present.insert(header);
        newBlocks << header << kSongBlockEnd;
    }
    if (newBlocks.isEmpty()) return false;
    songList.appendLines(newBlocks);
    return true;
}

void PerformerCatalogue::setSongList(QByteArrayView album, const Lines& songs) {
    songList.replaceBlock(SongBlockHeader(album), kSongBlockEnd, songs);
}

void PerformerCatalogue::setText(QByteArrayView album, QByteArrayView song, const Lines& text) {
    textFile.replaceBlock(TextBlockHeader(album, song), kTextBlockEnd, text);
}

void PerformerCatalogue::renameAlbum(QByteArrayView oldName, QByteArrayView newName) {
    Lines albums = albumList.toList();
    replaceEqualLines(albums, oldName, newName);
    albumList.replaceLines(albums);

    Lines songs = songList.toList();
    replaceEqualLines(songs, SongBlockHeader(oldName), SongBlockHeader(newName));
    songList.replaceLines(songs);

    // Text block headers are album + " ##-**~ " + song: the album part of every line that
    // begins with the old album's prefix takes the new name, whatever follows it.
    Lines texts = textFile.toList();
    const QByteArray prefix = oldName.toByteArray() + ' ' + kBlockMarker;
    for (Line& line : texts)
        if (line.startsWith(prefix)) line.replace(0, oldName.size(), newName.toByteArray());
    textFile.replaceLines(texts);
}

void PerformerCatalogue::renameSong(QByteArrayView album, QByteArrayView oldName,
                                    QByteArrayView newName) {
    Lines songs = songList.toList();
    const Line header = SongBlockHeader(album);
    for (qsizetype i = 0; i < songs.size();) {
        if (songs[i] != header) {
            ++i;
            continue;
        }
        for (++i; i < songs.size() && songs[i] != kSongBlockEnd; ++i)
            if (songs[i] == oldName) songs[i] = newName.toByteArray();
    }
    songList.replaceLines(songs);

    Lines texts = textFile.toList();
    replaceEqualLines(texts, TextBlockHeader(album, oldName), TextBlockHeader(album, newName));
    textFile.replaceLines(texts);
}

// ---------------------------------------------------------------- CatalogueBuilder

CatalogueBuilder::CatalogueBuilder(Line performer, qsizetype textBytes)
    : performer_(std::move(performer)) {
    texts_.reserve(textBytes);
}

void CatalogueBuilder::endAlbum() {
    if (albumOpen_) songBlocks_.append(kSongBlockEnd);
    albumOpen_ = false;
}

void CatalogueBuilder::addAlbum(const Line& album) {
    endAlbum();
    albums_.append(album);
    songBlocks_.append(SongBlockHeader(album));
    albumOpen_ = true;
}

// Each song's block goes straight into the text file's buffer: no second buffer of the whole
// file is made.
void CatalogueBuilder::addSong(const Line& song, const QByteArray& writtenText) {
    songBlocks_.append(song);
    appendWritten(texts_, TextBlockHeader(albums_.constLast(), song));
    texts_.append(writtenText);
    appendWritten(texts_, kTextBlockEnd);
}

PerformerCatalogue CatalogueBuilder::finish() {
    endAlbum();
    PerformerCatalogue catalogue;
    catalogue.performer = performer_;
    catalogue.albumList = LineFile::written(albums_);
    catalogue.songList = LineFile::written(songBlocks_);
    catalogue.textFile = LineFile::made(std::exchange(texts_, QByteArray()));
    return catalogue;
}
