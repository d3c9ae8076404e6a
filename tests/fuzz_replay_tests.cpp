// Every input the fuzzers keep (the seed corpus and each crash ever found) runs through its
// fuzz target in every test run, so a mended fault stays mended without clang.
#include <gtest/gtest.h>

#include "fuzz/FuzzTargets.h"
#include "import/LyricText.h"
#include "import/RtfReader.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/IniFile.h"

namespace {

using Target = int (*)(const uint8_t*, size_t);

// Runs every file of fuzz/corpus/<name> and fuzz/regressions/<name>; returns how many ran.
int Replay(const QString& name, Target target) {
    int replayed = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        const QString dir =
            QStringLiteral(CANTORIA_FUZZ_DIR "/%1/%2").arg(QLatin1String(folder), name);
        if (!fileio::isDir(dir)) continue;
        for (const QString& file : fileio::listDir(dir, int(fileio::Listing::Files))) {
            SCOPED_TRACE((dir + u'/' + file).toStdString());
            const QByteArray bytes = fileio::readAll(dir + u'/' + file);
            target(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            ++replayed;
        }
    }
    return replayed;
}

}  // namespace

TEST(FuzzReplay, LineReader) {
    EXPECT_GT(Replay("line_reader", FuzzLineReader), 0);
}

TEST(FuzzReplay, RtfReader) {
    EXPECT_GT(Replay("rtf_reader", FuzzRtfReader), 0);
    // The documents the scanner tests use are RTF seeds too.
    const QString rtf = QStringLiteral(CANTORIA_TEST_DATA "/rtf");
    for (const QString& file : fileio::listDir(rtf, int(fileio::Listing::Files))) {
        const QByteArray bytes = fileio::readAll(rtf + u'/' + file);
        FuzzRtfReader(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
}

TEST(FuzzReplay, Settings) {
    EXPECT_GT(Replay("settings", FuzzSettings), 0);
}

TEST(FuzzReplay, Cp1251) {
    EXPECT_GT(Replay("cp1251", FuzzCp1251), 0);
}

TEST(FuzzReplay, LineRoundTrip) {
    EXPECT_GT(Replay("line_roundtrip", FuzzLineRoundTrip), 0);
}

TEST(FuzzReplay, LyricEncoding) {
    EXPECT_GT(Replay("lyric_encoding", FuzzLyricEncoding), 0);
}

TEST(FuzzReplay, SearchQuery) {
    EXPECT_GT(Replay("search_query", FuzzSearchQuery), 0);
}

TEST(FuzzReplay, ModelRoundTrip) {
    EXPECT_GT(Replay("model_roundtrip", FuzzModelRoundTrip), 0);
}

TEST(FuzzReplay, SongFormats) {
    EXPECT_GT(Replay("openlyrics_reader", FuzzOpenLyricsReader), 0);
    EXPECT_GT(Replay("chordpro_reader", FuzzChordProReader), 0);
    EXPECT_GT(Replay("chord_lines", FuzzChordLines), 0);
}

// The faults the fuzzers found, spelled out.
TEST(FuzzFindings, RtfHexEscapesOfControlBytesAreNoText) {
    const CatalogueText text = RtfToPlainText(
        "{\\rtf1\\ansi\\ansicpg1251 first\\'0asecond\\'1athird\\'0d\\'e0\\par after\\par}");
    EXPECT_EQ(text.lines(), (Lines{"firstsecondthird\xE0", "after"}));
}

TEST(FuzzFindings, SettingsNumbersWithManyLeadingZeros) {
    qint32 value = 0;
    EXPECT_TRUE(IniFile::parseInteger("00000000000000000008", &value));
    EXPECT_EQ(value, 8);
    EXPECT_TRUE(IniFile::parseInteger("$000000000000000000FF000008", &value));
    EXPECT_EQ(value, -16777208);
    EXPECT_FALSE(IniFile::parseInteger("00000000000000000000000000004294967296", &value));
}

TEST(FuzzFindings, LoneSurrogatesAreReportedAsReplacementCharacter) {
    const QChar high(0xD83D), low(0xDE00);
    // A lone high and a lone low surrogate must not read as the pair U+1F600 in the report.
    const cp1251::Encoded apart = cp1251::encode(QString(high) + u'x' + low);
    EXPECT_EQ(apart.unencodable, QString(QChar(0xFFFD)));
    EXPECT_EQ(cp1251::describeCharacters(apart.unencodable), QString::fromUtf8("\uFFFD (U+FFFD)"));
    // A lone surrogate after a pair is reported too, not taken for half of the pair.
    const cp1251::Encoded afterPair = cp1251::encode(QString(high) + low + low);
    EXPECT_EQ(afterPair.unencodable, QString(high) + low + QChar(0xFFFD));

    const CatalogueText lyric = CatalogueLine(QString(high) + low + high);
    EXPECT_EQ(lyric.lines(), Lines{"??"});
    EXPECT_EQ(lyric.unencodable, QString(high) + low + QChar(0xFFFD));
}
