#include "store/Editing.h"

#include <QSet>
#include <cerrno>

#include "store/Catalogue.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/Names.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"

namespace {

// Refuses lines that would not come back as written: a CR, LF or Ctrl-Z would split the line
// or cut it, and every line after a Ctrl-Z at a line's start would vanish for a reader.
void RequireWholeLines(const QString& path, const Lines& lines) {
    if (HoldsLineBreak(lines))
        throw StoreError::withDescription(
            QStringLiteral("A line holding CR, LF or Ctrl-Z would break in the file"), path,
            EINVAL);
}

// Moves a block to the end of its file with its new body: the old blocks go the editors' way.
void ReplaceBlock(const QString& path, const Line& header, QByteArrayView endLine,
                  const Lines& body) {
    RequireWholeLines(path, body);
    if (HoldsEndLine(body, endLine))
        throw StoreError::withDescription(
            QStringLiteral("A line equal to \"%1\" would end the block early")
                .arg(QString::fromLatin1(endLine)),
            path, EINVAL);
    Lines lines = ReadRecordFile(path).toList();
    RemoveBlocksSkippingNext(lines, header, endLine);
    lines.reserve(lines.size() + body.size() + 2);
    lines.append(header);
    lines.append(body);
    lines.append(endLine.toByteArray());
    WriteRecordFile(path, lines);
}

bool RemoveFolder(const QString& folder) {
    try {
        fileio::removeDir(folder);
        return true;
    } catch (const StoreError&) {
        return false;
    }
}

void RequireStorablePerformer(QByteArrayView name) {
    if (!IsStorablePerformerName(name)) throw StoreNameError(cp1251::decode(name));
}

}  // namespace

bool HoldsLineBreak(const Lines& lines) {
    constexpr char kCtrlZ = 0x1a;
    for (const Line& line : lines)
        if (line.contains('\r') || line.contains('\n') || line.contains(kCtrlZ)) return true;
    return false;
}

bool HoldsEndLine(const Lines& body, QByteArrayView endLine) {
    for (const Line& line : body)
        if (line == endLine) return true;
    return false;
}

void AddPerformer(const QString& startDir, const Lines& performers, QByteArrayView name,
                  bool* listed) {
    RequireStorablePerformer(name);
    const QString listPath = PerformerStorePath(startDir, StoreEntry::PerformerList);
    const QString folder = PerformerStorePath(startDir, StoreEntry::PerformerFolder, name);
    FileSetChange change;
    try {
        CreatePerformerFolder(change, startDir, name);
    } catch (const StoreError& e) {
        // A folder left over from an earlier run fails the first step, so nothing is to be
        // undone; the lyrics it may hold are reachable again once the name is listed.
        if (e.error() == EEXIST && e.path() == folder) {
            WriteRecordFile(listPath, performers);
            if (listed) *listed = true;
        }
        throw;
    }
    change.replaceLast(listPath, JoinRecordLines(performers));
    change.commit();
    if (listed) *listed = true;
}

void SaveAlbumList(const QString& startDir, QByteArrayView performer, const Lines& albums) {
    const QString songsPath = PerformerStorePath(startDir, StoreEntry::SongList, performer);
    const QString albumsPath = PerformerStorePath(startDir, StoreEntry::AlbumList, performer);
    RequireWholeLines(albumsPath, albums);
    WriteRecordFile(albumsPath, albums);
    const Lines songLines = ReadRecordFile(songsPath).toList();
    QSet<Line> present(songLines.begin(), songLines.end());
    Lines newBlocks;
    for (const Line& album : albums) {
        const Line header = SongBlockHeader(album);
        if (present.contains(header)) continue;
        present.insert(header);
        newBlocks << header << kSongBlockEnd;
    }
    // Written whole from the lines as read, so that a last line without its line end or a
    // Ctrl-Z at the end of the file can neither swallow nor hide the new blocks.
    if (!newBlocks.isEmpty()) WriteRecordFile(songsPath, songLines + newBlocks);
}

void SaveSongList(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                  const Lines& songs) {
    ReplaceBlock(PerformerStorePath(startDir, StoreEntry::SongList, performer),
                 SongBlockHeader(album), kSongBlockEnd, songs);
}

void SaveSongText(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                  QByteArrayView song, const Lines& text) {
    ReplaceBlock(PerformerStorePath(startDir, StoreEntry::TextFile, performer),
                 TextBlockHeader(album, song), kTextBlockEnd, text);
}

bool DeletePerformer(const QString& startDir, const Lines& remaining, QByteArrayView performer) {
    const QString folder = PerformerStorePath(startDir, StoreEntry::PerformerFolder, performer);
    const QString pictures = PerformerStorePath(startDir, StoreEntry::PictureFolder, performer);
    WriteRecordFile(PerformerStorePath(startDir, StoreEntry::PerformerList), remaining);
    RemoveFilesIn(pictures);
    if (!RemoveFolder(pictures)) return false;
    RemoveFilesIn(folder);
    return RemoveFolder(folder);
}
