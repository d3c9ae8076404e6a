// The RTF reader on arbitrary documents: it ends, stays in bounds, and gives lines the
// catalogue can store, with every character it could not convert reported.
#include "fuzz/FuzzTargets.h"

#include "import/RtfReader.h"
#include "store/Cp1251.h"

int FuzzRtfReader(const uint8_t* data, size_t size) {
    const QByteArray bytes = FuzzBytes(data, size);
    const CatalogueText text = RtfToPlainText(bytes);
    // The text reads back as the lines it was written as: no line holds a line end or Ctrl-Z.
    const Lines lines = text.lines();
    FUZZ_CHECK(JoinRecordLines(lines) == text.written);
    if (IsRtfDocument(bytes)) {
        // Control characters are formatting in RTF, never text (the tab aside).
        for (const Line& line : lines)
            for (const char c : line) FUZZ_CHECK(uchar(c) >= 0x20 || c == '\t');
    }
    // What is reported is exactly what the code page lacks, each character once.
    const QStringList reported = CharactersOf(text.unencodable);
    for (const QString& character : reported) {
        FUZZ_CHECK(!cp1251::encode(character).ok());
        FUZZ_CHECK(reported.count(character) == 1);
    }
    return 0;
}
