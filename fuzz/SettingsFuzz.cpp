// The settings reader on arbitrary file content: values read as the profile functions read
// them (decimal, "$" or "0x" hexadecimal, else the default), and a key written into any file
// reads back while every other line stays where it was.
#include "fuzz/FuzzTargets.h"

#include <QRegularExpression>
#include <optional>

#include "store/AppearanceSettings.h"
#include "store/IniFile.h"

namespace {

struct Key {
    const char* section;
    const char* key;
};
constexpr Key kIntegerKeys[] = {
    {"font", "size"}, {"font", "color"}, {"colors", "color"}, {"colors", "formcolor"}};

// A number as the profile functions take it, told by a pattern rather than digit by digit:
// leading zeros count for nothing, hexadecimal spells the 32 bits of the value.
std::optional<qint32> ReferenceInteger(QByteArrayView text) {
    static const QRegularExpression number(
        QStringLiteral("^([+-]?)(?:(\\$|0[xX])0*([0-9A-Fa-f]{1,8})|0*([0-9]{1,10}))\\z"));
    // Latin-1 keeps every byte one character, so no byte can pass for a digit.
    const QRegularExpressionMatch m = number.match(QString::fromLatin1(text));
    if (!m.hasMatch()) return std::nullopt;
    const bool negative = m.captured(1) == u"-";
    if (!m.captured(2).isEmpty()) {
        const quint32 bits = m.captured(3).toUInt(nullptr, 16);
        return qint32(negative ? 0u - bits : bits);
    }
    const qint64 value = m.captured(4).toLongLong() * (negative ? -1 : 1);
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return qint32(value);
}

void CheckReading(const IniFile& ini) {
    for (const Key& k : kIntegerKeys) {
        const QByteArray text = ini.readString(k.section, k.key, "");
        const std::optional<qint32> expected = ReferenceInteger(text);
        FUZZ_CHECK(ini.readInteger(k.section, k.key, 12345) == expected.value_or(12345));
    }
    const Appearance appearance = AppearanceFrom(ini);
    FUZZ_CHECK(appearance.fontName.size() <= 2047);
    FUZZ_CHECK(!appearance.fontName.contains('\n') && !appearance.fontName.contains('\r'));
}

// Writing one key changes one line or adds the key (and its section); nothing else moves.
void CheckOnlyKeyChanged(const Lines& before, const Lines& after) {
    FUZZ_CHECK(after.size() >= before.size() && after.size() <= before.size() + 2);
    qsizetype i = 0;
    while (i < before.size() && before[i] == after[i]) ++i;
    if (after.size() == before.size()) {
        ++i;  // the one line replaced
        while (i < before.size()) {
            FUZZ_CHECK(before[i] == after[i]);
            ++i;
        }
        return;
    }
    const qsizetype added = after.size() - before.size();
    for (; i < before.size(); ++i) FUZZ_CHECK(before[i] == after[i + added]);
}

void CheckWriting(const IniFile& original, QByteArrayView input) {
    // The value and the key to write come from the input's first bytes.
    const uchar choice = input.isEmpty() ? 0 : uchar(input[0]);
    const Key& k = kIntegerKeys[choice % 4];
    qint32 value = 0;
    for (qsizetype i = 1; i < qMin<qsizetype>(5, input.size()); ++i)
        value = qint32(quint32(value) << 8 | uchar(input[i]));

    const Appearance before = AppearanceFrom(original);
    IniFile ini = original;
    ini.setInteger(k.section, k.key, value);
    FUZZ_CHECK(ini.readInteger(k.section, k.key, value ^ 1) == value);
    CheckOnlyKeyChanged(original.lines(), ini.lines());

    Appearance expected = before;
    const Appearance after = AppearanceFrom(ini);
    qint32* const fields[] = {&expected.fontSize, &expected.fontColor.value,
                              &expected.backColor.value, &expected.formColor.value};
    *fields[choice % 4] = value;
    FUZZ_CHECK(after.fontName == expected.fontName && after.fontSize == expected.fontSize &&
               after.fontColor.value == expected.fontColor.value &&
               after.backColor.value == expected.backColor.value &&
               after.formColor.value == expected.formColor.value);

    // What the writer puts on disk reads back as the same lines.
    FUZZ_CHECK(RecordLines(JoinRecordLines(ini.lines())).toList() == ini.lines());

    // A face name: any text without line breaks reads back trimmed.
    const Lines names = StorableLinesOf(input);
    if (names.isEmpty()) return;
    const QByteArray name = names.last();
    ini.setString("font", "name", name);
    FUZZ_CHECK(ini.readString("font", "name", "?") == name.trimmed());
    FUZZ_CHECK(ini.readInteger(k.section, k.key, value ^ 1) == value);
}

}  // namespace

int FuzzSettings(const uint8_t* data, size_t size) {
    const QByteArray bytes = FuzzBytes(data, size);
    const IniFile ini = IniFile::parse(bytes);
    CheckReading(ini);
    CheckWriting(ini, bytes);
    return 0;
}
