#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "store/RecordFile.h"

class FileSetChange;

// One key to write, with its section and value.
struct ProfileValue {
    QByteArray section;
    QByteArray key;
    QByteArray value;
};

// Data/Settings.ini with the behaviour of the Windows profile functions: section and key names
// match without regard to letter case, and writing one key keeps every other line of the file
// where it was. QSettings rewrites and reorders whole files, which would lose the user's own
// lines, so this small reader and writer is the program's own.
class IniFile {
  public:
    // Reads the file; a missing or unreadable file reads as empty.
    static IniFile load(const QString& path);
    // The same from the file's bytes.
    static IniFile parse(const QByteArray& bytes);

    // The value of the key, trimmed of blanks; `fallback` when section or key is missing.
    QByteArray readString(QByteArrayView section, QByteArrayView key,
                          const QByteArray& fallback) const;
    // Decimal, "$" hex or "0x" hex (32 bits, signed); anything else gives `fallback`.
    qint32 readInteger(QByteArrayView section, QByteArrayView key, qint32 fallback) const;

    // Sets the key in memory, creating section and key where missing.
    void setString(QByteArrayView section, QByteArrayView key, QByteArrayView value);
    void setInteger(QByteArrayView section, QByteArrayView key, qint32 value);

    const Lines& lines() const { return lines_; }

    // Parses a profile integer; false when the text is not a number.
    static bool parseInteger(QByteArrayView text, qint32* value);

  private:
    friend void WriteProfileValues(FileSetChange&, const QString&, const QList<ProfileValue>&);
    qsizetype findSection(QByteArrayView section) const;
    qsizetype findKey(qsizetype sectionLine, QByteArrayView key) const;

    Lines lines_;
};

// Writes the keys into the file on disk, in this order, as one step: either all of them are
// written or the file stays as it was. A failure throws StoreError "Unable to write to <path>".
void WriteProfileValues(const QString& path, const QList<ProfileValue>& values);
// The same as the last step of a change.
void WriteProfileValues(FileSetChange& change, const QString& path,
                        const QList<ProfileValue>& values);

// Writes one key into the file on disk as one step, creating file, section and key as
// needed. A failure throws StoreError "Unable to write to <path>".
void WriteProfileString(const QString& path, QByteArrayView section, QByteArrayView key,
                        QByteArrayView value);
void WriteProfileInteger(const QString& path, QByteArrayView section, QByteArrayView key,
                         qint32 value);
