#include "store/AppearanceSettings.h"

#include "store/IniFile.h"
#include "store/StorePaths.h"

namespace {

constexpr int kMaxFaceNameLength = 2047;

QString settingsPath(const QString& startDir) {
    return PerformerStorePath(startDir, StoreEntry::Settings);
}

}  // namespace

Appearance ReadAppearance(const QString& startDir) {
    return AppearanceFrom(IniFile::load(settingsPath(startDir)));
}

Appearance AppearanceFrom(const IniFile& ini) {
    const Appearance defaults;
    Appearance a;
    a.fontName = ini.readString("font", "name", defaults.fontName).left(kMaxFaceNameLength);
    a.fontSize = ini.readInteger("font", "size", defaults.fontSize);
    a.fontColor.value = ini.readInteger("font", "color", defaults.fontColor.value);
    a.backColor.value = ini.readInteger("colors", "color", defaults.backColor.value);
    a.formColor.value = ini.readInteger("colors", "formcolor", defaults.formColor.value);
    return a;
}

namespace {

QList<ProfileValue> fontValues(const QByteArray& name, int size, ColourRef color) {
    return {{"font", "name", name},
            {"font", "size", QByteArray::number(size)},
            {"font", "color", QByteArray::number(color.value)}};
}

ProfileValue backColorValue(ColourRef color) {
    return {"colors", "color", QByteArray::number(color.value)};
}

ProfileValue formColorValue(ColourRef color) {
    return {"colors", "formcolor", QByteArray::number(color.value)};
}

}  // namespace

// The three font keys go in one write, so that a failure leaves no font half changed.
void WriteFontSettings(FileSetChange& change, const QString& startDir, const QByteArray& name,
                       int size, ColourRef color) {
    WriteProfileValues(change, settingsPath(startDir), fontValues(name, size, color));
}

void WriteBackColor(FileSetChange& change, const QString& startDir, ColourRef color) {
    WriteProfileValues(change, settingsPath(startDir), {backColorValue(color)});
}

void WriteFormColor(FileSetChange& change, const QString& startDir, ColourRef color) {
    WriteProfileValues(change, settingsPath(startDir), {formColorValue(color)});
}

void ResetAppearance(FileSetChange& change, const QString& startDir) {
    const Appearance d;
    WriteProfileValues(
        change, settingsPath(startDir),
        fontValues(d.fontName, d.fontSize, d.fontColor) +
            QList<ProfileValue>{backColorValue(d.backColor), formColorValue(d.formColor)});
}
