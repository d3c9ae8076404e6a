#pragma once

#include <QByteArray>
#include <QString>

class FileSetChange;
class IniFile;

// A Windows colour reference: top byte 0 is an RGB colour (red in the lowest byte), top byte
// 0xFF a system colour whose index is the low byte.
struct ColourRef {
    qint32 value = 0;

    bool isSystem() const { return (quint32(value) >> 24) == 0xff; }
    int systemIndex() const { return int(quint32(value) & 0xff); }
    int red() const { return int(quint32(value) & 0xff); }
    int green() const { return int((quint32(value) >> 8) & 0xff); }
    int blue() const { return int((quint32(value) >> 16) & 0xff); }
    static ColourRef fromRgb(int r, int g, int b) {
        return {qint32(quint32(r & 0xff) | quint32(g & 0xff) << 8 | quint32(b & 0xff) << 16)};
    }
};

inline constexpr int kSystemWindowText = 8;
inline constexpr int kSystemButtonFace = 15;

// The user's font and colours, as stored in Data/Settings.ini.
struct Appearance {
    QByteArray fontName = "MS Sans Serif";  // Windows-1251
    int fontSize = 8;
    ColourRef fontColor{-16777208};  // system colour 8, window text
    ColourRef backColor{16777215};   // white
    ColourRef formColor{-16777201};  // system colour 15, button face
};

// Reads the settings file anew; a missing file, section or key, or a value that is not a
// number, gives the default. Nothing is written.
Appearance ReadAppearance(const QString& startDir);
// The appearance held by settings already read.
Appearance AppearanceFrom(const IniFile& ini);

// The writes of the font and colour commands, each the last step of a change. Each throws
// StoreError "Unable to write to <path>" on failure and leaves the file as it was.
void WriteFontSettings(FileSetChange& change, const QString& startDir, const QByteArray& name,
                       int size, ColourRef color);
void WriteBackColor(FileSetChange& change, const QString& startDir, ColourRef color);
void WriteFormColor(FileSetChange& change, const QString& startDir, ColourRef color);
// Writes all five keys with their defaults, in one step: a failure leaves the file as it was.
void ResetAppearance(FileSetChange& change, const QString& startDir);
