#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "store/RecordFile.h"

// The fuzz targets, one function each. libFuzzer calls them through FuzzEntry.cpp; the test
// suite replays the committed inputs through the same functions with GCC.
int FuzzLineReader(const uint8_t* data, size_t size);
int FuzzRtfReader(const uint8_t* data, size_t size);
int FuzzSettings(const uint8_t* data, size_t size);
int FuzzCp1251(const uint8_t* data, size_t size);
int FuzzLineRoundTrip(const uint8_t* data, size_t size);
int FuzzLyricEncoding(const uint8_t* data, size_t size);
int FuzzSearchQuery(const uint8_t* data, size_t size);
int FuzzModelRoundTrip(const uint8_t* data, size_t size);
int FuzzOpenLyricsReader(const uint8_t* data, size_t size);
int FuzzChordProReader(const uint8_t* data, size_t size);
int FuzzChordLines(const uint8_t* data, size_t size);

// A property the targets hold the code to. A violation aborts, which libFuzzer keeps as a
// crash input and the replay tests report as a failed test, with this line in the output.
#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, \
                         #condition);                                                  \
            std::abort();                                                              \
        }                                                                              \
    } while (0)

inline QByteArray FuzzBytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Lines a writer may be given: the input split at LF, with CR and Ctrl-Z taken out (no line
// can hold them). An empty input gives no lines.
Lines StorableLinesOf(QByteArrayView bytes);

// The characters of a text, a surrogate pair as one and a lone surrogate as one of its own.
QStringList CharactersOf(const QString& text);
