#include "search/PerformerSongs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cstring>

#include "store/PerformerCatalogue.h"
#include "store/PerformerRepository.h"
#include "store/StoreError.h"

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

PerformerStamper::PerformerStamper(const PerformerRepository& repository)
    : folder_(::open(QFile::encodeName(repository.startDir()).constData(),
                     O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

PerformerStamper::~PerformerStamper() {
    if (folder_ >= 0) ::close(folder_);
}

FileStamps PerformerStamper::stamp(const QByteArray& performer) const {
    FileStamps s;
    // The store's own paths below "." are the paths relative to the open catalogue folder.
    const PerformerRepository relative(QStringLiteral("."));
    for (size_t i = 0; i < std::size(kPerformerLineFiles); ++i) {
        struct stat st;
        QString path;
        try {
            path = relative.path(kPerformerLineFiles[i], performer);
        } catch (const StoreError&) {
            // a name that cannot be a folder has no files
        }
        if (folder_ < 0 || path.isEmpty() ||
            ::fstatat(folder_, QFile::encodeName(path).constData(), &st, 0) != 0) {
            s.values[2 * i] = -1;
            s.values[2 * i + 1] = 0;
            continue;
        }
        s.values[2 * i] = st.st_size;
        s.values[2 * i + 1] = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
    return s;
}

bool ReadPerformerSongs(const PerformerRepository& repository, const QByteArray& performer,
                        std::vector<CataloguedSong>& songs) {
    songs.clear();
    QList<JoinedSong> walked;
    try {
        walked = repository.load(performer).walkJoined();
    } catch (const StoreError&) {
        return false;
    }
    QSet<QPair<QByteArray, QByteArray>> seen;  // an album or song listed twice is one place
    for (JoinedSong& song : walked) {
        if (seen.contains({song.album, song.name})) continue;
        seen.insert({song.album, song.name});
        songs.push_back({song.album, song.name, std::move(song.text)});
    }
    return true;
}

bool ReadPerformerNames(const PerformerRepository& repository, std::vector<QByteArray>& names) {
    names.clear();
    RecordLines lines;
    try {
        lines = repository.readPerformerList();
    } catch (const StoreError&) {
        return false;
    }
    QSet<QByteArray> seen;
    for (QByteArrayView line : lines) {
        const QByteArray name = line.toByteArray();
        if (name.isEmpty() || seen.contains(name)) continue;
        seen.insert(name);
        names.push_back(name);
    }
    return true;
}

bool PerformerFolderExists(const PerformerRepository& repository, const QByteArray& performer) {
    try {
        return QFileInfo(repository.path(StoreEntry::PerformerFolder, performer)).isDir();
    } catch (const StoreError&) {
        return false;
    }
}
