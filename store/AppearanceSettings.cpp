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

void WriteFontSettings(const QString& startDir, const QByteArray& name, int size, ColourRef color) {
    const QString path = settingsPath(startDir);
    WriteProfileString(path, "font", "name", name);
    WriteProfileInteger(path, "font", "size", size);
    WriteProfileInteger(path, "font", "color", color.value);
}

void WriteBackColor(const QString& startDir, ColourRef color) {
    WriteProfileInteger(settingsPath(startDir), "colors", "color", color.value);
}

void WriteFormColor(const QString& startDir, ColourRef color) {
    WriteProfileInteger(settingsPath(startDir), "colors", "formcolor", color.value);
}

void ResetAppearance(const QString& startDir) {
    const Appearance d;
    WriteFontSettings(startDir, d.fontName, d.fontSize, d.fontColor);
    WriteBackColor(startDir, d.backColor);
    WriteFormColor(startDir, d.formColor);
}
