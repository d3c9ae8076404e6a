#include "store/IniFile.h"

#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/StoreError.h"

#include <cerrno>
#include <optional>

namespace {

bool isSectionLine(QByteArrayView line) {
    const QByteArrayView t = line.trimmed();
    return t.startsWith('[');
}

QByteArrayView sectionName(QByteArrayView line) {
    QByteArrayView t = line.trimmed().sliced(1);
    const qsizetype close = t.indexOf(']');
    if (close >= 0) t = t.first(close);
    return t.trimmed();
}

bool sameName(QByteArrayView a, QByteArrayView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

IniFile IniFile::load(const QString& path) {
    IniFile ini;
    try {
        ini.lines_ = ReadRecordFile(path).toList();
    } catch (const StoreError&) {
        // A missing or unreadable file gives the defaults.
    }
    return ini;
}

IniFile IniFile::parse(const QByteArray& bytes) {
    IniFile ini;
    ini.lines_ = RecordLines(bytes).toList();
    return ini;
}

qsizetype IniFile::findSection(QByteArrayView section) const {
    for (qsizetype i = 0; i < lines_.size(); ++i)
        if (isSectionLine(lines_[i]) && sameName(sectionName(lines_[i]), section)) return i;
    return -1;
}

qsizetype IniFile::findKey(qsizetype sectionLine, QByteArrayView key) const {
    for (qsizetype i = sectionLine + 1; i < lines_.size() && !isSectionLine(lines_[i]); ++i) {
        const QByteArrayView line(lines_[i]);
        const qsizetype eq = line.indexOf('=');
        if (eq > 0 && sameName(line.first(eq).trimmed(), key)) return i;
    }
    return -1;
}

QByteArray IniFile::readString(QByteArrayView section, QByteArrayView key,
                               const QByteArray& fallback) const {
    const qsizetype s = findSection(section);
    if (s < 0) return fallback;
    const qsizetype k = findKey(s, key);
    if (k < 0) return fallback;
    const QByteArrayView line(lines_[k]);
    return line.sliced(line.indexOf('=') + 1).trimmed().toByteArray();
}

bool IniFile::parseInteger(QByteArrayView text, qint32* value) {
    if (text.isEmpty()) return false;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text = text.sliced(1);
    }
    int base = 10;
    if (text.startsWith('$')) {
        base = 16;
        text = text.sliced(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text = text.sliced(2);
    }
    // Leading zeros count for nothing, however many there are.
    while (text.size() > 1 && text.front() == '0') text = text.sliced(1);
    if (text.isEmpty() || text.size() > 16) return false;
    quint64 number = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        number = number * quint64(base) + quint64(digit);
    }
    if (base == 16) {
        if (number > 0xffffffffULL) return false;
        // Hexadecimal spells the 32 bits of the value: $FF000008 is a system colour.
        const qint32 bits = qint32(quint32(number));
        *value = negative ? qint32(-qint64(bits)) : bits;
        return true;
    }
    const qint64 signedNumber = negative ? -qint64(number) : qint64(number);
    if (signedNumber < INT32_MIN || signedNumber > INT32_MAX) return false;
    *value = qint32(signedNumber);
    return true;
}

qint32 IniFile::readInteger(QByteArrayView section, QByteArrayView key, qint32 fallback) const {
    qint32 value = 0;
    return parseInteger(readString(section, key, QByteArray()), &value) ? value : fallback;
}

void IniFile::setString(QByteArrayView section, QByteArrayView key, QByteArrayView value) {
    const QByteArray entry = key.toByteArray() + '=' + value.toByteArray();
    qsizetype s = findSection(section);
    if (s < 0) {
        lines_.append('[' + section.toByteArray() + ']');
        lines_.append(entry);
        return;
    }
    const qsizetype k = findKey(s, key);
    if (k >= 0) {
        lines_[k] = entry;
        return;
    }
    // A new key goes after the last non-empty line of its section.
    qsizetype insertAt = s + 1;
    for (qsizetype i = s + 1; i < lines_.size() && !isSectionLine(lines_[i]); ++i)
        if (!lines_[i].trimmed().isEmpty()) insertAt = i + 1;
    lines_.insert(insertAt, entry);
}

void IniFile::setInteger(QByteArrayView section, QByteArrayView key, qint32 value) {
    setString(section, key, QByteArray::number(value));
}

void WriteProfileString(const QString& path, QByteArrayView section, QByteArrayView key,
                        QByteArrayView value) {
    WriteProfileValues(path, {{section.toByteArray(), key.toByteArray(), value.toByteArray()}});
}

void WriteProfileValues(const QString& path, const QList<ProfileValue>& values) {
    FileSetChange change;
    WriteProfileValues(change, path, values);
    change.commit();
}

void WriteProfileValues(FileSetChange& change, const QString& path,
                        const QList<ProfileValue>& values) {
    const auto unableToWrite = [&path](const StoreError& e) {
        return StoreError::withDescription(QStringLiteral("Unable to write to %1").arg(path), path,
                                           e.error());
    };
    IniFile ini;
    std::optional<QByteArray> current;
    try {
        current = fileio::readAll(path);
        ini.lines_ = RecordLines(*current).toList();
    } catch (const StoreError& e) {
        // Only a file that is not there yet starts empty; an unreadable one is never replaced.
        if (e.error() != ENOENT) throw unableToWrite(e);
        current = std::nullopt;
    }
    for (const ProfileValue& v : values) ini.setString(v.section, v.key, v.value);
    try {
        change.replaceLast(path, JoinRecordLines(ini.lines()), current);
    } catch (const StoreError& e) {
        throw unableToWrite(e);
    }
}

void WriteProfileInteger(const QString& path, QByteArrayView section, QByteArrayView key,
                         qint32 value) {
    WriteProfileString(path, section, key, QByteArray::number(value));
}
