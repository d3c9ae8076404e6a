#include "store/FileIo.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "store/StoreError.h"

namespace fileio {
namespace {

struct FaultPlan {
    long calls = 0;
    long failAt = 0;  // 0: no fault planned by index
    int error = 0;
    FaultMode mode = FaultMode::Once;
    std::optional<Fault> fault;  // a fault planned by operation and path
    long matched = 0;            // calls that matched it so far
    bool failingFromNowOn = false;
    long injected = 0;
    long readsFailed = 0;
    QString readOnlyRoot;
    WriteFault writeFault = WriteFault::Half;
};
// Each thread has its own plan: a test plans faults for the commands of its own thread, and
// the lyrics index, which reads the catalogue on a thread of its own, neither meets them nor
// shifts their count.
FaultPlan& plan() {
    thread_local FaultPlan p;
    return p;
}

PhaseListener& phaseListener() {
    static PhaseListener listener = nullptr;
    return listener;
}

void enterPhase(Phase phase) {
    if (PhaseListener listener = phaseListener()) listener(phase);
}

bool matches(const Fault& f, Op op, const QString& path) {
    return f.op == op && (f.path.isEmpty() || path == f.path || path.endsWith(u'/' + f.path));
}

// Counts one I/O call; returns the error it is to fail with, 0 when it goes ahead.
int plannedError(Op op, const QString& path) {
    FaultPlan& p = plan();
    ++p.calls;
    int error = 0;
    if (p.failAt != 0) {
        const bool hit = p.mode == FaultMode::Once ? p.calls == p.failAt : p.calls >= p.failAt;
        if (hit) error = p.error;
    }
    if (p.fault) {
        if (p.failingFromNowOn) {
            error = p.fault->error;
        } else if (matches(*p.fault, op, path) && ++p.matched == p.fault->occurrence) {
            error = p.fault->error;
            p.failingFromNowOn = p.fault->mode == FaultMode::FromThenOn;
        }
    }
    if (error != 0) {
        ++p.injected;
        if (op == Op::Open || op == Op::Read || op == Op::List) ++p.readsFailed;
    }
    return error;
}

void faultPoint(Op op, const QString& path) {
    if (const int error = plannedError(op, path)) throw StoreError(error, path);
}

// How many of a failing write's bytes reach the file before it stops.
qsizetype bytesBeforeFailure(qsizetype size) {
    const std::optional<Fault>& f = plan().fault;
    if (f && f->op == Op::Write && f->writtenBytes >= 0)
        return qMin(size, qsizetype(f->writtenBytes));
    switch (plan().writeFault) {
        case WriteFault::Nothing:
            return 0;
        case WriteFault::Everything:
            return size;
        case WriteFault::Half:
        case WriteFault::ShortThenResumed:
            break;
    }
    return size / 2;
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

void changePoint(Op op, const QString& path) {
    faultPoint(op, path);
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
    faultPoint(Op::Read, path);
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

// Opens `name` (a path, or a name in the folder `dirFd`) read-only.
int openReadOnlyAt(int dirFd, const QByteArray& name, const QString& path) {
    if (const int error = plannedError(Op::Open, path)) throw StoreReadError(error, path);
    const int fd = ::openat(dirFd, name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw StoreReadError(errno ? errno : EIO, path);
    return fd;
}

// Opens `name` as openReadOnlyAt does and reads it whole.
QByteArray readAllAt(int dirFd, const QByteArray& name, const QString& path) {
    Fd fd(openReadOnlyAt(dirFd, name, path));
    enterPhase(Phase::Reading);
    QByteArray data = readOpened(fd.get(), path);
    enterPhase(Phase::Idle);
    return data;
}

// The mode a new file gets from open(): what the old file has, or 0666 less the umask.
mode_t modeForReplacement(const QByteArray& target) {
    struct stat st {};
    if (::stat(target.constData(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The new bytes of a save, in a file beside the target named "<name>.XXXXXX" until the rename
// gives it the target's name. Removed again when the save stops before that.
class NewFileBeside {
  public:
    explicit NewFileBeside(const QString& target) : target_(target) {
        changePoint(Op::Create, target);
        static_assert(sizeof(".XXXXXX") - 1 == kSaveSuffixBytes);
        name_ = nativePath(target) + ".XXXXXX";
        fd_ = ::mkostemp(name_.data(), O_CLOEXEC);
        if (fd_ < 0) fail(target, errno == EEXIST ? EIO : errno);
        enterPhase(Phase::Writing);
        ::fchmod(fd_, modeForReplacement(nativePath(target)));
    }
    ~NewFileBeside() {
        if (fd_ >= 0) ::close(fd_);
        if (!renamed_) ::unlink(name_.constData());
    }
    NewFileBeside(const NewFileBeside&) = delete;
    NewFileBeside& operator=(const NewFileBeside&) = delete;

    void write(const QByteArray& data) {
        int error = plannedError(Op::Write, target_);
        // A system that takes only part of a write at a time: the loop goes on with the rest.
        qsizetype piece = data.size();
        if (error && !plan().fault && plan().writeFault == WriteFault::ShortThenResumed) {
            error = 0;
            piece = qMax<qsizetype>(1, data.size() / 2);
        }
        const qsizetype length = error ? bytesBeforeFailure(data.size()) : data.size();
        for (qsizetype done = 0; done < length;) {
            const ssize_t n =
                ::write(fd_, data.constData() + done, size_t(qMin(piece, length - done)));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) fail(target_, n < 0 ? errno : ENOSPC);
            done += qsizetype(n);
        }
        if (error) throw StoreError(error, target_);
    }
    void flush() {
        faultPoint(Op::Flush, target_);
        if (::fsync(fd_) != 0) fail(target_);
    }
    void close() {
        faultPoint(Op::Close, target_);
        const int result = ::close(fd_);
        fd_ = -1;  // closed whatever close() says
        if (result != 0) fail(target_);
    }
    void renameOverTarget() {
        faultPoint(Op::Rename, target_);
        enterPhase(Phase::Renaming);
        if (::rename(name_.constData(), nativePath(target_).constData()) != 0) fail(target_);
        renamed_ = true;
    }

  private:
    QString target_;
    QByteArray name_;
    int fd_ = -1;
    bool renamed_ = false;
};

}  // namespace

QByteArray readAll(const QString& path) {
    return readAllAt(AT_FDCWD, nativePath(path), path);
}

namespace {

// A save flushes its folder right after its rename. A save that is final outlives a failure
// there: its new bytes are on disk and in place, and a message saying the save failed would
// contradict the file the user sees (SQLite ignores this failure for the same reason).
void flushFolderNow(const QString& path, FolderFlush flush) {
    if (flush == FolderFlush::Pending) return;
    try {
        flushFolderOf(path);
    } catch (const StoreError&) {
    }
}

}  // namespace

// Written here rather than with QSaveFile, which does the same steps: each step of the commit
// (flush, close, rename) must be a fault point of its own, and the folder is flushed after the
// rename, which QSaveFile does not do.
void writeAtomic(const QString& path, const QByteArray& data, FolderFlush flush) {
    if (isSymLink(path)) {
        changePoint(Op::Create, path);
        fail(path, ELOOP);
    }
    {
        NewFileBeside file(path);
        file.write(data);
        file.flush();
        file.close();
        file.renameOverTarget();
    }
    enterPhase(Phase::Idle);
    flushFolderNow(path, flush);
}

// Without this flush a power loss right after a rename may bring the old name back on some
// file systems.
void flushFolderOf(const QString& path) {
    int error = plannedError(Op::FlushFolder, path);
    if (error == 0) {
        const qsizetype slash = path.lastIndexOf(u'/');
        const QByteArray folder =
            slash < 0 ? QByteArray(".") : nativePath(path.left(qMax<qsizetype>(slash, 1)));
        Fd fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (fd.get() >= 0 && ::fsync(fd.get()) != 0) error = errno ? errno : EIO;
    }
    if (error != 0) throw StoreError(error, path);
}

QString interruptedSaveTarget(const QString& entry) {
    // The names of the new files of saves: the file's own name, a dot, six of [A-Za-z0-9].
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
    changePoint(Op::Create, path);
    const int fd =
        ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) fail(path);
    ::close(fd);
}

void makeDir(const QString& path) {
    changePoint(Op::MakeDir, path);
    if (::mkdir(nativePath(path).constData(), 0777) != 0) fail(path);
}

void removeDir(const QString& path) {
    changePoint(Op::RemoveDir, path);
    if (::rmdir(nativePath(path).constData()) != 0) fail(path);
}

void removeFile(const QString& path) {
    changePoint(Op::Remove, path);
    const QByteArray native = nativePath(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0) fail(path);
    if (S_ISDIR(st.st_mode)) fail(path, EISDIR);
    if (::unlink(native.constData()) != 0) fail(path);
}

// Qt follows the desktop's trash rules (the trash of the home folder, or the one at the top of
// another file system, with the info file a file manager needs to restore it).
bool moveToTrash(const QString& path) {
    changePoint(Op::Rename, path);
    return QFile::moveToTrash(path);
}

void renameNoReplace(const QString& from, const QString& to, FolderFlush flush) {
    changePoint(Op::Rename, from);
    refuseOnReadOnlyMedium(to);
    const QByteArray src = nativePath(from);
    const QByteArray dst = nativePath(to);
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS) fail(from);
        // File systems without RENAME_NOREPLACE: a hard link refuses an existing target too.
        if (::link(src.constData(), dst.constData()) != 0) fail(from);
        if (::unlink(src.constData()) != 0) {
            const int error = errno;
            ::unlink(dst.constData());
            fail(from, error);
        }
    }
    flushFolderNow(to, flush);
}

QByteArray copyNew(const QString& from, const QString& to, FolderFlush flush) {
    QByteArray data = readAll(from);
    if (exists(to)) fail(to, EEXIST);
    writeAtomic(to, data, flush);
    return data;
}

// Read with readdir rather than QDir: the entry's type comes with its name (no call per entry
// but for links), the scan lists hundreds of folders, and a folder that cannot be read is an
// error here, where QDir would give an empty list.
QStringList listDir(const QString& path, int what) {
    return OpenFolder(path).list(what);
}

OpenFolder::OpenFolder(const QString& path) : path_(path) {
    faultPoint(Op::List, path);
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

namespace {

// Only a name of this folder: anything that would lead elsewhere names no file here.
QByteArray nameInFolder(const QString& name) {
    const bool plainName = !name.contains(u'/') && name != u"." && name != u"..";
    return plainName ? nativePath(name) : QByteArray();
}

}  // namespace

QByteArray OpenFolder::readAll(const QString& name) const {
    return readAllAt(::dirfd(dir_), nameInFolder(name), pathOf(name));
}

std::unique_ptr<PieceReader> OpenFolder::openPieces(const QString& name) const {
    const QString path = pathOf(name);
    const int fd = openReadOnlyAt(::dirfd(dir_), nameInFolder(name), path);
    return std::unique_ptr<PieceReader>(new PieceReader(fd, path));
}

PieceReader::PieceReader(int fd, QString path) : fd_(fd), path_(std::move(path)) {
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd_);
        throw StoreReadError(error, path_);
    }
    size_ = st.st_size;
}

PieceReader::~PieceReader() {
    ::close(fd_);
}

QByteArray PieceReader::readAt(qint64 offset, qsizetype length) const {
    if (const int error = plannedError(Op::Read, path_)) throw StoreReadError(error, path_);
    QByteArray piece(std::max<qsizetype>(0, length), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < piece.size()) {
        const ssize_t n = ::pread(fd_, piece.data() + filled, size_t(piece.size() - filled),
                                  off_t(offset + filled));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw StoreReadError(errno, path_);
        if (n == 0) break;
        filled += qsizetype(n);
    }
    piece.truncate(filled);
    return piece;
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

FileStamp stampOf(const QString& path) {
    struct stat st {};
    if (::stat(nativePath(path).constData(), &st) != 0) return {};
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            quint64(st.st_ino), quint64(st.st_dev)};
}

qint64 fileSize(const QString& path) {
    struct stat st {};
    return ::stat(nativePath(path).constData(), &st) == 0 ? qint64(st.st_size) : -1;
}

void failAt(long n, int error, FaultMode mode) {
    plan() = FaultPlan{};
    plan().failAt = n;
    plan().error = error;
    plan().mode = mode;
}

void failOn(const Fault& fault) {
    plan() = FaultPlan{};
    plan().fault = fault;
}

void clearFaults() {
    plan() = FaultPlan{};
}

void setWriteFault(WriteFault shape) {
    plan().writeFault = shape;
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

long readFaultsInjected() {
    return plan().readsFailed;
}

void setPhaseListener(PhaseListener listener) {
    phaseListener() = listener;
}

}  // namespace fileio
