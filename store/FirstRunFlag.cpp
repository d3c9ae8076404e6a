#include "store/FirstRunFlag.h"

#include <QSettings>
#include <cerrno>

#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/IniFile.h"
#include "store/StoreError.h"

namespace {

// QSettings keeps a key without a group in the section "General".
constexpr char kSection[] = "General";
constexpr char kKey[] = "FirstRun";

// The folders above the file, from the outermost missing one in.
void MakeFoldersFor(FileSetChange& change, const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash <= 0) return;
    const QString folder = path.left(slash);
    if (fileio::isDir(folder)) return;
    MakeFoldersFor(change, folder);
    try {
        change.makeDir(folder);
    } catch (const StoreError& e) {
        if (e.error() != EEXIST)
            throw StoreError::withDescription(QStringLiteral("Unable to write to %1").arg(path),
                                              path, e.error());
    }
}

}  // namespace

QString FirstRunFlagPath() {
    // Only where QSettings keeps the key is asked of it; the file is read and written here.
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("software"),
                     QStringLiteral("Cantoria"))
        .fileName();
}

bool FirstRunFlagSet() {
    // A file that cannot be read counts as without the flag: writing it then refuses to
    // replace what it cannot read, and says so.
    const QByteArray missing("\n");  // no value holds a line end: tells a missing key apart
    return IniFile::load(FirstRunFlagPath()).readString(kSection, kKey, missing) != missing;
}

void WriteFirstRunFlag(FileSetChange& change) {
    const QString path = FirstRunFlagPath();
    MakeFoldersFor(change, path);
    WriteProfileValues(change, path, {{kSection, kKey, QByteArray::number(1)}});
}
