// Data/Settings.ini: defaults, number forms, in-place writes, the reset.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "store/AppearanceSettings.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/IniFile.h"
#include "store/StoreError.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

// A settings write as one change, committed.
void Written(const std::function<void(FileSetChange&)>& write) {
    FileSetChange change;
    write(change);
    change.commit();
}

}  // namespace

TEST(Settings, MissingFileGivesDefaultsAndCreatesNothing) {
    TempCatalogue cat;
    cat.mkdir("Data");
    const Appearance a = ReadAppearance(cat.startDir());
    EXPECT_EQ(a.fontName, QByteArray("MS Sans Serif"));
    EXPECT_EQ(a.fontSize, 8);
    EXPECT_EQ(a.fontColor.value, -16777208);
    EXPECT_EQ(a.backColor.value, 16777215);
    EXPECT_EQ(a.formColor.value, -16777201);
    EXPECT_TRUE(a.fontColor.isSystem());
    EXPECT_EQ(a.fontColor.systemIndex(), 8);
    EXPECT_EQ(a.formColor.systemIndex(), 15);
    EXPECT_FALSE(cat.exists("Data/Settings.ini"));
}

TEST(Settings, NumbersInDecimalAndHexElseTheDefault) {
    TempCatalogue cat;
    cat.write("Data/Settings.ini",
              "[FONT]\r\nName = Courier New \r\nSIZE=0x0E\r\nColor=$FF000008\r\n"
              "[colors]\r\ncolor=abc\r\nformcolor=\r\n");
    const Appearance a = ReadAppearance(cat.startDir());
    EXPECT_EQ(a.fontName, QByteArray("Courier New"));
    EXPECT_EQ(a.fontSize, 14);
    EXPECT_EQ(a.fontColor.value, -16777208);
    EXPECT_EQ(a.backColor.value, 16777215);   // not a number
    EXPECT_EQ(a.formColor.value, -16777201);  // empty value

    qint32 v = 0;
    EXPECT_TRUE(IniFile::parseInteger("$10", &v));
    EXPECT_EQ(v, 16);
    EXPECT_TRUE(IniFile::parseInteger("0X1f", &v));
    EXPECT_EQ(v, 31);
    EXPECT_TRUE(IniFile::parseInteger("-16777201", &v));
    EXPECT_EQ(v, -16777201);
    EXPECT_FALSE(IniFile::parseInteger("12pt", &v));
    EXPECT_FALSE(IniFile::parseInteger("99999999999", &v));
    EXPECT_FALSE(IniFile::parseInteger("0x", &v));
}

TEST(Settings, EmptyFaceNameStaysEmpty) {
    TempCatalogue cat;
    cat.write("Data/Settings.ini", "[font]\r\nname=\r\nsize=\r\n");
    const Appearance a = ReadAppearance(cat.startDir());
    EXPECT_EQ(a.fontName, QByteArray());
    EXPECT_EQ(a.fontSize, 8);
}

TEST(Settings, WritingOneKeyKeepsEveryOtherLineInPlace) {
    TempCatalogue cat;
    const QByteArray before =
        "; my notes\r\n[Other]\r\nx=1\r\n\r\n[Colors]\r\nFormColor=5\r\n\r\n[tail]\r\ny=2\r\n";
    cat.write("Data/Settings.ini", before);
    Written([&](FileSetChange& c) { WriteBackColor(c, cat.startDir(), ColourRef{255}); });
    Written([&](FileSetChange& c) { WriteFormColor(c, cat.startDir(), ColourRef{0}); });
    EXPECT_EQ(cat.read("Data/Settings.ini"),
              QByteArray("; my notes\r\n[Other]\r\nx=1\r\n\r\n[Colors]\r\nformcolor=0\r\n"
                         "color=255\r\n\r\n[tail]\r\ny=2\r\n"));
}

TEST(Settings, ResetWritesAllFiveKeysAndLeavesOtherSections) {
    TempCatalogue cat;
    cat.write("Data/Settings.ini", "[mine]\r\nkeep=yes\r\n[font]\r\nsize=20\r\n");
    Written([&](FileSetChange& c) { ResetAppearance(c, cat.startDir()); });
    EXPECT_EQ(cat.read("Data/Settings.ini"),
              QByteArray("[mine]\r\nkeep=yes\r\n[font]\r\nsize=8\r\nname=MS Sans Serif\r\n"
                         "color=-16777208\r\n[colors]\r\ncolor=16777215\r\n"
                         "formcolor=-16777201\r\n"));
    const Appearance a = ReadAppearance(cat.startDir());
    EXPECT_EQ(a.fontSize, 8);
    EXPECT_EQ(a.fontName, QByteArray("MS Sans Serif"));
}

TEST(Settings, FailedWriteSaysUnableToWriteAndKeepsTheFile) {
    TempCatalogue cat;
    cat.write("Data/Settings.ini", "[font]\r\nsize=12\r\n");
    fileio::failOn({fileio::Op::Write, "Settings.ini", ENOSPC});  // the disk fills half-way
    try {
        Written([&](FileSetChange& c) { WriteBackColor(c, cat.startDir(), ColourRef{0}); });
        ADD_FAILURE();
    } catch (const StoreError& e) {
        EXPECT_EQ(e.description(), "Unable to write to " + cat.path("Data/Settings.ini"));
    }
    fileio::clearFaults();
    EXPECT_EQ(cat.read("Data/Settings.ini"), QByteArray("[font]\r\nsize=12\r\n"));

    TempCatalogue noData;  // no data folder at all
    EXPECT_THROW(Written([&](FileSetChange& c) { ResetAppearance(c, noData.startDir()); }),
                 StoreError);
}
