#include "store/FileIo.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>

#include "store/StoreError.h"

namespace fileio {
namespace {

struct FaultPlan {
    long calls = 0;
    long failAt = 0;  // 0: no fault planned
    int error = 0;
    FaultMode mode = FaultMode::Once;
    long injected = 0;
    QString readOnlyRoot;
};
FaultPlan& plan() {
    static FaultPlan p;
    return p;
}

// Counts one I/O call and fails it when the plan says so.
void faultPoint(const QString& path) {
    FaultPlan& p = plan();
    ++p.calls;
    if (p.failAt == 0) return;
    const bool hit = p.mode == FaultMode::Once ? p.calls == p.failAt : p.calls >= p.failAt;
    if (!hit) return;
    ++p.injected;
    throw StoreError(p.error, path);
}

// A change at or below the read-only root fails as a read-only medium would make it fail.
void refuseOnReadOnlyMedium(const QString& path) {
    const QString& root = plan().readOnlyRoot;
    if (root.isEmpty()) return;
    if (path == root || path.startsWith(root.endsWith(u'/') ? root : root + u'/')) {
        ++plan().injected;
        throw StoreError(EROFS, path);
    }
}

void changePoint(const QString& path) {
    faultPoint(path);
    refuseOnReadOnlyMedium(path);
}

// A path holding NUL would be cut short at the system call and name another file; it names
// none (an empty path fails every call with ENOENT).
QByteArray nativePath(const QString& path) {
    if (path.contains(QChar(0))) return QByteArray();
    return QFile::encodeName(path);
}

[[noreturn]] void fail(const QString& path, int error = errno) {
    throw StoreError(error ? error : EIO, path);
}

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

  private:
    int fd_;
};

}  // namespace

namespace {

// Reads the rest of an open file; `path` names it in errors.
QByteArray readOpened(int fd, const QString& path) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) fail(path);
    if (S_ISDIR(st.st_mode)) throw StoreReadError(EISDIR, path);
    faultPoint(path);
    // Read straight into a buffer of the file's size. The read that confirms the end goes to
    // a small buffer of its own: growing the file's buffer for it would cost more than the
    // read of a small lyric file itself. A file that grows meanwhile is read on.
    QByteArray data(st.st_size > 0 ? qsizetype(st.st_size) : 0, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        char more[4096];
        const bool full = filled == data.size();
        const ssize_t n = full ? ::read(fd, more, sizeof more)
                               : ::read(fd, data.data() + filled, size_t(data.size() - filled));
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(path);
        }
        if (n == 0) break;
        if (full) data.append(more, qsizetype(n));
        filled += qsizetype(n);
    }
    data.truncate(filled);
    return data;
}

// Opens `name` (a path, or a name in the folder `dirFd`) read-only and reads it whole.
QByteArray readAllAt(int dirFd, const QByteArray& name, const QString& path) {
    try {
        faultPoint(path);
    } catch (const StoreError& e) {
        throw StoreReadError(e.error(), path);
    }
    Fd fd(::openat(dirFd, name.constData(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) throw StoreReadError(errno ? errno : EIO, path);
    return readOpened(fd.get(), path);
}

}  // namespace

QByteArray readAll(const QString& path) {
    return readAllAt(AT_FDCWD, nativePath(path), path);
}

void writeAtomic(const QString& path, const QByteArray& data) {
    changePoint(path);
    if (isSymLink(path)) fail(path, ELOOP);
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        fail(path, file.error() == QFileDevice::PermissionsError ? EACCES : errno);
    }
    try {
        faultPoint(path);
        if (file.write(data) != data.size()) fail(path, errno ? errno : ENOSPC);
        faultPoint(path);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    errno = 0;
    if (!file.commit()) fail(path, errno ? errno : EIO);
}

QString interruptedSaveTarget(const QString& entry) {
    // QSaveFile's temporary names: the file's own name, a dot, six of [A-Za-z0-9].
    constexpr qsizetype suffixLength = 6;
    const qsizetype dot = entry.size() - suffixLength - 1;
    if (dot < 1 || entry[dot] != u'.') return {};
    const QStringView suffix = QStringView(entry).mid(dot + 1);
    int lower = 0, upper = 0, digits = 0;
    for (QChar c : suffix) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            ++lower;
        else if (u >= u'A' && u <= u'Z')
            ++upper;
        else if (u >= u'0' && u <= u'9')
            ++digits;
        else
            return {};
    }
    const bool capitalisedWord = upper == 1 && suffix[0].isUpper() && digits == 0;
    const bool oneKind = lower == suffixLength || upper == suffixLength || digits == suffixLength;
    if (oneKind || capitalisedWord) return {};
    return entry.left(dot);
}

void createNewFile(const QString& path) {
    changePoint(path);
    const int fd =
        ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) fail(path);
    ::close(fd);
}

void makeDir(const QString& path) {
    changePoint(path);
    if (::mkdir(nativePath(path).constData(), 0777) != 0) fail(path);
}

void removeDir(const QString& path) {
    changePoint(path);
    if (::rmdir(nativePath(path).constData()) != 0) fail(path);
}

void removeFile(const QString& path) {
    changePoint(path);
    const QByteArray native = nativePath(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0) fail(path);
    if (S_ISDIR(st.st_mode)) fail(path, EISDIR);
    if (::unlink(native.constData()) != 0) fail(path);
}

void renameNoReplace(const QString& from, const QString& to) {
    changePoint(from);
    refuseOnReadOnlyMedium(to);
    const QByteArray src = nativePath(from);
    const QByteArray dst = nativePath(to);
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS) fail(from);
    // File systems without RENAME_NOREPLACE: a hard link refuses an existing target too.
    if (::link(src.constData(), dst.constData()) != 0) fail(from);
    if (::unlink(src.constData()) != 0) {
        const int error = errno;
        ::unlink(dst.constData());
        fail(from, error);
    }
}

void copyNew(const QString& from, const QString& to) {
    const QByteArray data = readAll(from);
    if (exists(to)) fail(to, EEXIST);
    writeAtomic(to, data);
}

// Read with readdir rather than QDir: the entry's type comes with its name (no call per entry
// but for links), the scan lists hundreds of folders, and a folder that cannot be read is an
// error here, where QDir would give an empty list.
QStringList listDir(const QString& path, int what) {
    return OpenFolder(path).list(what);
}

OpenFolder::OpenFolder(const QString& path) : path_(path) {
    faultPoint(path);
    dir_ = ::opendir(nativePath(path).constData());
    if (!dir_) fail(path);
}

OpenFolder::~OpenFolder() {
    ::closedir(dir_);
}

QStringList OpenFolder::list(int what) {
    ::rewinddir(dir_);
    QStringList names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir_)) {
        const char* const name = entry->d_name;
        const bool dotted = name[0] == '.';
        if (dotted && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        if (dotted && !(what & int(Listing::Hidden))) continue;
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {  // a link counts as what it points to
            struct stat st {};
            type = ::fstatat(::dirfd(dir_), name, &st, 0) != 0 ? DT_UNKNOWN
                   : S_ISDIR(st.st_mode)                       ? DT_DIR
                   : S_ISREG(st.st_mode)                       ? DT_REG
                                                               : DT_UNKNOWN;
        }
        if ((type == DT_REG && (what & int(Listing::Files))) ||
            (type == DT_DIR && (what & int(Listing::Dirs))))
            names.append(QFile::decodeName(name));
        errno = 0;
    }
    if (errno != 0) fail(path_);
    return names;
}

QString OpenFolder::pathOf(const QString& name) const {
    return path_ + u'/' + name;
}

QByteArray OpenFolder::readAll(const QString& name) const {
    // Only a name of this folder: anything that would lead elsewhere names no file here.
    const bool plainName = !name.contains(u'/') && name != u"." && name != u"..";
    return readAllAt(::dirfd(dir_), plainName ? nativePath(name) : QByteArray(), pathOf(name));
}

bool exists(const QString& path) {
    struct stat st {};
    return ::lstat(nativePath(path).constData(), &st) == 0;
}

bool isDir(const QString& path) {
    struct stat st {};
    return ::stat(nativePath(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isFile(const QString& path) {
    struct stat st {};
    return ::stat(nativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isSymLink(const QString& path) {
    struct stat st {};
    return ::lstat(nativePath(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

qint64 fileSize(const QString& path) {
    struct stat st {};
    return ::stat(nativePath(path).constData(), &st) == 0 ? qint64(st.st_size) : -1;
}

void failAt(long n, int error, FaultMode mode) {
    plan() = FaultPlan{0, n, error, mode, 0, QString()};
}

void clearFaults() {
    plan() = FaultPlan{};
}

void makeReadOnly(const QString& root) {
    plan().readOnlyRoot = root;
}

long callsMade() {
    return plan().calls;
}

long faultsInjected() {
    return plan().injected;
}

}  // namespace fileio
