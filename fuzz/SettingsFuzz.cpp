// The settings reader on arbitrary file content: values read as the profile functions read
// them (decimal, "$" or "0x" hexadecimal, else the default), and a key written into any file
// reads back while every other line stays where it was.
#include "fuzz/FuzzTargets.h"

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

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// A number as the profile functions take it, digit by digit with unbounded length: leading
// zeros count for nothing, hexadecimal spells the 32 bits of the value.
std::optional<qint32> ReferenceInteger(QByteArrayView text) {
    bool negative = false;
    if (text.startsWith('-') || text.startsWith('+')) {
        negative = text.front() == '-';
        text = text.sliced(1);
    }
    int base = 10;
    if (text.startsWith('$')) {
        base = 16;
        text = text.sliced(1);
    } else if (text.startsWith("0x") || text.startsWith("0X")) {
        base = 16;
        text = text.sliced(2);
    }
    if (text.isEmpty()) return std::nullopt;
    quint64 number = 0;
    for (const char c : text) {
        if (DigitValue(c) >= base) return std::nullopt;
        number = number * quint64(base) + quint64(DigitValue(c));
        if (number > 0xffffffffULL) number = 0x100000000ULL;  // too large, whatever follows
    }
    if (base == 16) {
        if (number > 0xffffffffULL) return std::nullopt;
        const quint32 bits = quint32(number);
        return qint32(negative ? 0u - bits : bits);
    }
    const qint64 value = negative ? -qint64(number) : qint64(number);
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
