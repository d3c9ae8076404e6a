#pragma once

#include <dirent.h>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

#include <cerrno>
#include "store/StoreError.h"

// The program's one door to the file system. Every open, read, write, flush, rename, copy,
// mkdir, rmdir, unlink and directory listing passes through here, so that tests can make
// the Nth call fail with a chosen error (preload tricks miss the calls Qt makes itself).
// Every function throws StoreError on failure.
namespace fileio {

// After a rename the folder that holds the new name is flushed to disk too, so that the name
// outlives a power loss. A save flushes it right away; when that fails the save stands all
// the same (its bytes are on disk and in place). A step of a larger change leaves it Pending:
// the change flushes each of its folders once, with flushFolderOf, before it reports success.
enum class FolderFlush { Now, Pending };

// Reads a whole file, opened read-only. Throws StoreReadError when it cannot be opened.
QByteArray readAll(const QString& path);

// Replaces the file's content as one step: the new bytes go to a file beside it, are flushed
// to disk, and only then renamed over the old one. A failure leaves the old file whole. A path
// that is a symbolic link is refused (ELOOP): writing would change whatever it points at,
// perhaps outside the data folder, or replace the link with a plain file.
void writeAtomic(const QString& path, const QByteArray& data, FolderFlush flush = FolderFlush::Now);
// The file beside is named "<name>.XXXXXX", so a file that writeAtomic writes has a name this
// many bytes shorter than the file system allows.
constexpr qsizetype kSaveSuffixBytes = 7;
// A save killed between the moment its new bytes got a name beside the file and the moment
// they replaced it (on a file system without unnamed files: at any moment of the write)
// leaves that file behind as "<name>.XXXXXX" (six random letters and digits). Returns <name> when
// `entry` has that form, otherwise an empty string. A suffix that looks chosen by a person (one
// word in one case, or all digits, as in "Songs.lrx.backup" or "Songs.lrx.202401") is not taken for
// one: a leftover kept by mistake costs nothing.
QString interruptedSaveTarget(const QString& entry);

// Creates a new empty file; an existing file of that name is a failure (EEXIST).
void createNewFile(const QString& path);

// Creates one folder; an existing folder is a failure (EEXIST).
void makeDir(const QString& path);
// Removes an empty folder.
void removeDir(const QString& path);
// Removes a file. A folder (or anything else that is not a file) is refused with EISDIR.
void removeFile(const QString& path);
// Moves a file or folder to the desktop's trash, from where the user can restore it. False
// where the file system has no trash to take it; nothing has moved then.
bool moveToTrash(const QString& path);
// Renames a file, never replacing an existing one (EEXIST).
void renameNoReplace(const QString& from, const QString& to, FolderFlush flush = FolderFlush::Now);
// Copies all bytes of a file (source opened read-only) into a new file `to`; returns them.
QByteArray copyNew(const QString& from, const QString& to, FolderFlush flush = FolderFlush::Now);
// Flushes the folder that holds `path` (a name just renamed into it) to disk. Throws StoreError
// naming `path` when that fails.
void flushFolderOf(const QString& path);

enum class Listing { Files = 1, Dirs = 2, Hidden = 4 };
// Names of the entries of a folder (without "." and ".."), in the platform's listing order.
QStringList listDir(const QString& path, int what);

// A file opened for reading in pieces, for a reader that needs only parts of it (the tags of
// a music file, at its start and end). Throws StoreReadError as readAll does.
class PieceReader {
  public:
    ~PieceReader();
    PieceReader(const PieceReader&) = delete;
    PieceReader& operator=(const PieceReader&) = delete;

    qint64 size() const { return size_; }
    // Up to `length` bytes from `offset`: fewer at the end of the file.
    QByteArray readAt(qint64 offset, qsizetype length) const;

  private:
    friend class OpenFolder;
    PieceReader(int fd, QString path);
    int fd_;
    QString path_;
    qint64 size_ = 0;
};

// A folder held open, so that its files are opened without walking the whole path again: a
// scan reads thousands of lyric files, folder by folder.
class OpenFolder {
  public:
    explicit OpenFolder(const QString& path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    const QString& path() const { return path_; }
    // The path of an entry, as errors name it.
    QString pathOf(const QString& name) const;
    // As listDir.
    QStringList list(int what);
    // As fileio::readAll, for the file of this name in the folder.
    QByteArray readAll(const QString& name) const;
    // The file of this name in the folder, opened to be read in pieces.
    std::unique_ptr<PieceReader> openPieces(const QString& name) const;

  private:
    QString path_;
    DIR* dir_;
};

bool exists(const QString& path);
bool isDir(const QString& path);
bool isFile(const QString& path);
// The entry itself is a symbolic link (writeAtomic would write to wherever it points).
bool isSymLink(const QString& path);
qint64 fileSize(const QString& path);
// What the file system says of a file without reading it: a file whose stamp is the same has
// not been written since (size -1: no such file).
struct FileStamp {
    qint64 size = -1;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;
    bool operator==(const FileStamp& o) const {
        return size == o.size && modifiedNs == o.modifiedNs && inode == o.inode &&
               device == o.device;
    }
};
FileStamp stampOf(const QString& path);

// ---- fault points, for tests ----
// Faults are planned, counted and injected per thread: those of the thread that plans them.
enum class FaultMode { Once, FromThenOn };
// The Nth I/O call from now on (1-based) fails with `error`; once, or every call from then on.
// A failing write stops after half its bytes.
void failAt(long n, int error, FaultMode mode);

// The I/O calls as faults name them. A save (writeAtomic) is Create (the new file beside the
// target), Write, Flush (to disk), Close, Rename and FlushFolder, each naming the target.
enum class Op {
    Open,
    Read,
    Create,
    Write,
    Flush,
    Close,
    Rename,
    FlushFolder,
    MakeDir,
    RemoveDir,
    Remove,
    List
};
// A fault named by what it hits rather than by its place in the sequence of calls.
struct Fault {
    Op op;
    QString path;  // the call's path is this or ends with "/" + this ("performers.lrx")
    int error = EIO;
    int occurrence = 1;                // which of the matching calls fails
    FaultMode mode = FaultMode::Once;  // FromThenOn: that call and every later call fail
    qint64 writtenBytes = -1;          // Op::Write: bytes that reach the file first; -1: half
};
void failOn(const Fault& fault);
// How a write that failAt() hits ends: after half its bytes (the default, again after every
// failAt and clearFaults), after none, after all of them, or with no error at all: the system
// takes half the bytes and the write goes on with the rest.
enum class WriteFault { Half, Nothing, Everything, ShortThenResumed };
void setWriteFault(WriteFault shape);
void clearFaults();
// Every call that would change something at or below `root` fails with EROFS, as on a
// read-only medium (the tests run as root, for whom permission bits do not stop a write);
// reading goes on. failAt() and clearFaults() lift it.
void makeReadOnly(const QString& root);
// I/O calls made since the last failAt/clearFaults.
long callsMade();
// Faults actually injected since the last failAt/clearFaults.
long faultsInjected();
// Of those, the faults that hit a call reading the disk (Open, Read, List).
long readFaultsInjected();

// Where the program is in its file work, for a test that kills it at random moments and wants
// to know what each kill interrupted. The listener is called on every change of phase.
enum class Phase { Idle, Reading, Writing, Renaming };
using PhaseListener = void (*)(Phase);
void setPhaseListener(PhaseListener listener);

}  // namespace fileio
