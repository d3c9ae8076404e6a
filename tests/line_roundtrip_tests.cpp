// The writer-reader round trip over many generated line lists: whatever lines the writer is
// given (no CR, LF or Ctrl-Z in them), the reader gives back, byte for byte.
#include <gtest/gtest.h>

#include <random>

#include "fuzz/FuzzTargets.h"
#include "store/RecordFile.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

// Lines built from pieces that stress the reader: blanks, high bytes, NUL, the block words
// and markers, besides any byte a line may hold.
class LineGenerator {
  public:
    explicit LineGenerator(unsigned seed) : random_(seed) {}

    Lines lines() {
        Lines lines;
        const int count = pick(12) == 0 ? 0 : pick(20);
        for (int i = 0; i < count; ++i) lines.append(line());
        return lines;
    }

  private:
    Line line() {
        static const QByteArray pieces[] = {
            " ",        "  ",     "\t",       QByteArray(1, '\0'), "endsong",
            "endalbum", "##-**~", " ##-**~ ", "\xC0\xFF\x98",      "?",
            "\x7f",     "\x1b"};
        Line line;
        const int parts = pick(8);
        for (int i = 0; i < parts; ++i) {
            if (pick(3) == 0) {
                line += pieces[pick(std::size(pieces))];
            } else {
                char c;
                do c = char(pick(256));
                while (c == '\r' || c == '\n' || c == '\x1a');
                line += c;
            }
        }
        return line;
    }

    int pick(size_t below) {
        return int(std::uniform_int_distribution<size_t>(0, below - 1)(random_));
    }

    std::mt19937 random_;
};

}  // namespace

TEST(LineRoundTrip, GeneratedLinesReadBackAsWritten) {
    LineGenerator generate(20240611);
    for (int i = 0; i < 5000; ++i) {
        const Lines lines = generate.lines();
        SCOPED_TRACE(i);
        ASSERT_EQ(RecordLines(JoinRecordLines(lines)).toList(), lines);
        const QByteArray bytes = JoinRecordLines(lines);
        // The same checks the fuzzer makes, block grammar included.
        FuzzLineRoundTrip(reinterpret_cast<const uint8_t*>(bytes.constData()),
                          size_t(bytes.size()));
    }
}

TEST(LineRoundTrip, ThroughTheFileOnDisk) {
    TempCatalogue cat;
    const QString path = cat.path("lines.lrx");
    LineGenerator generate(7);
    for (int i = 0; i < 200; ++i) {
        const Lines lines = generate.lines();
        SCOPED_TRACE(i);
        WriteRecordFile(path, lines);
        ASSERT_EQ(ReadRecordFile(path).toList(), lines);
    }
}
