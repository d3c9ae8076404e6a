// The lyric file reader on arbitrary bytes: whatever encoding it settles on, it ends, gives
// lines the catalogue can store, keeps a Windows-1251 file byte for byte, and reports every
// character it could not store.
#include "fuzz/FuzzTargets.h"

#include <QStringDecoder>

#include "import/LyricEncoding.h"
#include "import/LyricText.h"
#include "store/Cp1251.h"

int FuzzLyricEncoding(const uint8_t* data, size_t size) {
    const QByteArray bytes = FuzzBytes(data, size);
    const LyricEncoding encoding = DetectLyricEncoding(bytes);
    FUZZ_CHECK(DetectLyricEncoding(bytes) == encoding);
    const CatalogueText text = PlainLyricText(bytes);
    FUZZ_CHECK(JoinRecordLines(text.lines()) == text.written);
    if (encoding == LyricEncoding::Cp1251) {
        FUZZ_CHECK(text.written == RecordLines(bytes).joined());
        FUZZ_CHECK(text.unencodable.isEmpty());
        return 0;
    }
    // The conversion gives valid UTF-8 whatever it was given.
    const QByteArray utf8 = LyricTextAsUtf8(bytes, encoding);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(utf8);
    FUZZ_CHECK(!decoder.hasError());
    const QStringList reported = CharactersOf(text.unencodable);
    for (const QString& character : reported) {
        FUZZ_CHECK(!cp1251::encode(character).ok());
        FUZZ_CHECK(reported.count(character) == 1);
    }
    return 0;
}
