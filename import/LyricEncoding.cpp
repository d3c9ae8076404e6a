#include "import/LyricEncoding.h"

#include <errno.h>
#include <iconv.h>
#include <uchardet.h>
#include <QString>

#include "store/Cp1251.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

namespace {

const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray kUtf16LeBom = QByteArrayLiteral("\xFF\xFE");
const QByteArray kUtf16BeBom = QByteArrayLiteral("\xFE\xFF");
const QByteArray kReplacement = QByteArrayLiteral("\xEF\xBF\xBD");

bool HoldsNonAscii(QByteArrayView bytes) {
    for (const char c : bytes)
        if (uchar(c) >= 0x80) return true;
    return false;
}

// UTF-16 written without a byte-order mark: the high byte of every unit is 0x00 (ASCII,
// Latin-1 punctuation) or 0x04 (Cyrillic), or 0x20 or 0x21 (dashes, quotes, "…", "№"), and at
// least half of them are 0x00 or 0x04, which text in an 8-bit code page does not hold. A unit
// below 0x20 other than a tab or a line end is no text. Little-endian, Windows' own order, is
// tried first.
std::optional<LyricEncoding> Utf16WithoutMark(QByteArrayView bytes) {
    if (bytes.isEmpty() || bytes.size() % 2 != 0) return std::nullopt;
    for (const auto& [encoding, high] :
         {std::pair{LyricEncoding::Utf16Le, 1}, {LyricEncoding::Utf16Be, 0}}) {
        qsizetype zeroOrCyrillic = 0;
        qsizetype i = 0;
        for (; i < bytes.size(); i += 2) {
            const uchar h = uchar(bytes[i + high]), l = uchar(bytes[i + 1 - high]);
            if (h == 0x00 && l < 0x20 && l != '\t' && l != '\n' && l != '\r') break;
            if (h == 0x00 || h == 0x04)
                ++zeroOrCyrillic;
            else if (h != 0x20 && h != 0x21)
                break;
        }
        if (i == bytes.size() && zeroOrCyrillic * 4 >= bytes.size()) return encoding;
    }
    return std::nullopt;
}

// Stops at the first byte that cannot be UTF-8, which in 8-bit text comes early.
bool IsValidUtf8(QByteArrayView bytes) {
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const uchar lead = uchar(bytes[i]);
        int follow = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            follow = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            follow = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            follow = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= follow; ++k) {
            if (i + k >= n) return false;
            const uchar c = uchar(bytes[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            code = code << 6 | (c & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[follow] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += follow + 1;
    }
    return true;
}

// What a byte is in Russian, Ukrainian or Belarusian text written in Windows-1251, as one increment
// of four 16-bit counters: bytes foreign to such text, capitals, small letters, small vowels.
// Summing the increments costs one look-up and one add a byte, a fraction of reading the file.
constexpr uint64_t kForeign = 1, kCapital = 1 << 16, kSmall = uint64_t(1) << 32,
                   kVowel = uint64_t(1) << 48;

std::array<uint64_t, 256> MakeByteCounts() {
    std::array<uint64_t, 256> counts{};  // ASCII counts for nothing
    for (int b = 0x80; b <= 0xBF; ++b) counts[b] = kForeign;
    for (int b = 0xC0; b <= 0xDF; ++b) counts[b] = kCapital;
    for (int b = 0xE0; b <= 0xFF; ++b) counts[b] = kSmall;
    for (const int b : {0xA8, 0xA5, 0xAA, 0xB2, 0xAF, 0xA1}) counts[b] = kCapital;  // Ё Ґ Є І Ї Ў
    for (const int b : {0xB4, 0xA2}) counts[b] = kSmall;                            // ґ ў
    for (const int b :
         {0xE0, 0xE5, 0xE8, 0xEE, 0xF3, 0xFB, 0xFD, 0xFE, 0xFF, 0xB8, 0xBA, 0xB3, 0xBF})
        counts[b] = kSmall | kVowel;  // а е и о у ы э ю я ё є і ї
    // – — « » № and the no-break space; none is a letter in KOI8-R, and text in the other
    // code pages is told apart by its letters anyway.
    for (const int b : {0x96, 0x97, 0xAB, 0xBB, 0xB9, 0xA0}) counts[b] = 0;
    return counts;
}

// The Mac's small я is Windows-1251's Я, which never follows a small letter.
bool HoldsSmallLetterBeforeYa(QByteArrayView bytes) {
    for (qsizetype i = bytes.indexOf('\xDF'); i > 0; i = bytes.indexOf('\xDF', i + 1))
        if (uchar(bytes[i - 1]) >= 0xE0) return true;
    return false;
}

// Sixteen bytes a step, with the vector types GCC and Clang both have (SSE2 here): a block
// of letters, spaces and ASCII punctuation is counted by comparisons in byte-wide counters
// (each comparison gives 0 or 0xFF, so they count down), emptied every 255 blocks. A block
// holding a byte 0x80-0xBF (Ё, ё, the Ukrainian letters, dashes, quotes, or a byte foreign to
// such text) is counted through the table, as the bytes after the last whole block are.
using Bytes16 = uchar __attribute__((vector_size(16)));

Bytes16 Splat(uchar byte) {
    return Bytes16{} + byte;
}

struct ByteCounts {
    qsizetype foreign = 0, capitals = 0, smalls = 0, vowels = 0;
    void add(uint64_t sum) {
        foreign += qsizetype(sum & 0xFFFF);
        capitals += qsizetype(sum >> 16 & 0xFFFF);
        smalls += qsizetype(sum >> 32 & 0xFFFF);
        vowels += qsizetype(sum >> 48);
    }
    void add(const Bytes16& capitalsDown, const Bytes16& smallsDown, const Bytes16& vowelsDown) {
        for (int k = 0; k < 16; ++k) {
            capitals += uchar(-capitalsDown[k]);
            smalls += uchar(-smallsDown[k]);
            vowels += uchar(-vowelsDown[k]);
        }
    }
};

ByteCounts CountCp1251Bytes(QByteArrayView bytes) {
    static const std::array<uint64_t, 256> table = MakeByteCounts();
    const auto* const p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    ByteCounts counts;
    uint64_t sum = 0;  // of the table's increments: no 16-bit counter overflows before 0xFFFF bytes
    qsizetype summed = 0;
    qsizetype i = 0;
    while (n - i >= 16) {
        Bytes16 capitals{}, smalls{}, vowels{};
        for (int step = 0; step < 255 && n - i >= 16; ++step, i += 16) {
            Bytes16 b;
            std::memcpy(&b, p + i, sizeof b);
            const Bytes16 upper = Bytes16(Bytes16(b - Splat(0x80)) < Splat(0x40));
            uint64_t halves[2];
            std::memcpy(halves, &upper, sizeof halves);
            if ((halves[0] | halves[1]) != 0) {
                for (int k = 0; k < 16; ++k) sum += table[p[i + k]];
                if ((summed += 16) > 0xFFFF - 32) {
                    counts.add(sum);
                    sum = 0;
                    summed = 0;
                }
                continue;
            }
            capitals += Bytes16(Bytes16(b - Splat(0xC0)) < Splat(0x20));
            smalls += Bytes16(b >= Splat(0xE0));
            vowels += Bytes16(b == Splat(0xE0)) | Bytes16(b == Splat(0xE5)) |
                      Bytes16(b == Splat(0xE8)) | Bytes16(b == Splat(0xEE)) |
                      Bytes16(b == Splat(0xF3)) | Bytes16(b == Splat(0xFB)) |
                      Bytes16(b >= Splat(0xFD));
        }
        counts.add(capitals, smalls, vowels);
    }
    for (; i < n; ++i) sum += table[p[i]];
    counts.add(sum);
    return counts;
}

// Text whose every byte above 0x7F is a Windows-1251 letter or common punctuation, mostly
// small letters, with the share of vowels Russian (or Ukrainian, Belarusian) has, is Windows-1251
// without asking the detector: that is nearly every file of an old Windows collection. Read in this
// code page, KOI8-R and ISO-8859-5 text is mostly capitals, capitals only KOI8-R has too few
// vowels, and code page 866 and the Mac's capitals fall outside the letters.
bool IsPlainlyCp1251(QByteArrayView bytes) {
    const auto [foreign, capitals, smalls, vowels] = CountCp1251Bytes(bytes);
    constexpr qsizetype kFewestLetters = 12;
    return foreign == 0 && smalls >= kFewestLetters && capitals * 3 <= smalls &&
           vowels * 3 >= smalls && vowels * 9 <= smalls * 5 && !HoldsSmallLetterBeforeYa(bytes);
}

// The Mac's code page has the small letters where Windows-1251 has them (я aside) and the
// capitals where Windows-1251 has punctuation, so on short texts the detector confuses the two
// either way. The Mac's it is only with a capital that is a rare Serbian letter or no character
// in Windows-1251 (А Б Г К М Н О П Р Ш Ъ Ь Э Ю Я), and without any byte that only
// Windows-1251 makes a letter of (its capitals beyond the Mac's punctuation, and its я).
bool IsMacCyrillic(QByteArrayView bytes) {
    static const std::array<uchar, 256> evidence = [] {
        std::array<uchar, 256> e{};
        for (const int b : {0x80, 0x81, 0x83, 0x8A, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x98, 0x9A, 0x9C,
                            0x9D, 0x9E, 0x9F})
            e[b] = 1;
        for (int b = 0xC0; b <= 0xDE; ++b) e[b] = 2;
        for (const int b :
             {0xC7, 0xC8, 0xC9, 0xCA, 0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD7, 0xDC, 0xDD, 0xDE})
            e[b] = 0;  // « » … no-break space – — “ ” ‘ ’ „ № Ё ё on the Mac
        e[0xFF] = 2;
        return e;
    }();
    bool macCapital = false;
    for (const char c : bytes) {
        const uchar kind = evidence[uchar(c)];
        if (kind == 2) return false;
        macCapital = macCapital || kind == 1;
    }
    return macCapital;
}

// The share of о е а и н т с, the seven most frequent letters of Russian (about half of all
// letters), among the Cyrillic letters of a text; -1 for too few letters to tell.
double FrequentLetterShare(const QString& text) {
    static const QString frequent = QStringLiteral("оеаинтс");
    int letters = 0, frequentCount = 0;
    for (const QChar c : text) {
        const QChar small = c.toLower();
        if ((small < u'а' || small > u'я') && small != u'ё') continue;
        ++letters;
        frequentCount += frequent.contains(small);
    }
    constexpr int kFewestLetters = 8;
    return letters < kFewestLetters ? -1 : double(frequentCount) / letters;
}

// The detector takes short Windows-1251 text in capitals for KOI8-R, whose small letters lie
// where Windows-1251 has its capitals. Its verdict stands only when the text read that way
// has more of Russian's frequent letters than read in Windows-1251: reading a text in the
// wrong one of these code pages shuffles the letters, and the frequent ones fall apart.
bool ReadsMoreLikeRussian(const QByteArray& bytes, LyricEncoding encoding) {
    const double asVerdict =
        FrequentLetterShare(QString::fromUtf8(LyricTextAsUtf8(bytes, encoding)));
    return asVerdict >= 0 && asVerdict > FrequentLetterShare(cp1251::decode(bytes));
}

// ---------------------------------------------------------------- short texts

// Text with fewer letters than this is too short for the detector or for letter frequencies;
// every Cyrillic letter of the code pages here is a byte above 0x7F.
constexpr qsizetype kShortText = 8;

bool IsShort(QByteArrayView bytes) {
    qsizetype letters = 0;
    for (const char c : bytes)
        if (uchar(c) >= 0x80 && ++letters == kShortText) return false;
    return true;
}

const QString kAlphabet = QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюяіїєґў");
const QString kVowels = QStringLiteral("аеёиоуыэюяіїє");
const QString kPunctuation = QStringLiteral("—–«»„“”‘’…№\u00A0");

// What no Russian, Ukrainian or Belarusian word has: mixed case ("пК", "ПРивет"; a word is in
// small letters, in capitals, or starts with one capital), ь ъ ы at its start, and ь or ъ after
// a vowel, й or another of them. `small` is the word in small letters.
int WordFlaws(QStringView word, const QString& small) {
    const bool caseFits = word == small || word == word.toString().toUpper() ||
                          (word.front().isUpper() && word.sliced(1) == small.sliced(1));
    int flaws = caseFits ? 0 : 1;
    if (QStringView(u"ьъы").contains(small.front())) ++flaws;
    for (qsizetype i = 1; i < small.size(); ++i)
        if (QStringView(u"ьъ").contains(small[i]) &&
            (kVowels.contains(small[i - 1]) || QStringView(u"йьъ").contains(small[i - 1])))
            ++flaws;
    return flaws;
}

// A word of several Cyrillic letters, none of them a vowel; one with a Latin letter is not
// judged.
bool LacksVowel(const QString& small) {
    return small.size() > 1 && std::none_of(small.begin(), small.end(), [](QChar c) {
               return kVowels.contains(c) || c.unicode() < 0x80;
           });
}

// How a text read in one code page looks: its flaws (each character above ASCII that is
// neither a letter of these alphabets nor common punctuation, and each flaw of a word), and
// its words without a vowel.
struct Reading {
    int flaws = 0;
    int wordsWithoutVowel = 0;
};

Reading ReadingOf(const QString& text) {
    Reading reading;
    qsizetype start = 0;  // of the current word
    const auto endWord = [&](qsizetype end) {
        if (end == start) return;
        const QStringView word = QStringView(text).sliced(start, end - start);
        const QString small = word.toString().toLower();
        reading.flaws += WordFlaws(word, small);
        reading.wordsWithoutVowel += LacksVowel(small);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool letter = c.isLetter();
        if (c.unicode() >= 0x80 &&
            !(letter ? kAlphabet.contains(c.toLower()) : kPunctuation.contains(c)))
            ++reading.flaws;
        if (!letter) {
            endWord(i);
            start = i + 1;
        }
    }
    endWord(text.size());
    return reading;
}

// A short text is read in each code page and taken in one whose reading has no flaw.
// Windows-1251 goes first; among the others, fewer words without a vowel decide (the Mac's
// and code page 866's small letters share bytes), then the order of the list. A text that no
// code page reads without a flaw stays as it is.
LyricEncoding MostPlausibleReading(const QByteArray& bytes) {
    if (ReadingOf(cp1251::decode(bytes)).flaws == 0) return LyricEncoding::Cp1251;
    LyricEncoding best = LyricEncoding::Cp1251;
    int fewestWithoutVowel = std::numeric_limits<int>::max();
    for (const LyricEncoding encoding : {LyricEncoding::Koi8R, LyricEncoding::Ibm866,
                                         LyricEncoding::Iso8859_5, LyricEncoding::MacCyrillic}) {
        const Reading reading = ReadingOf(QString::fromUtf8(LyricTextAsUtf8(bytes, encoding)));
        if (reading.flaws == 0 && reading.wordsWithoutVowel < fewestWithoutVowel) {
            best = encoding;
            fewestWithoutVowel = reading.wordsWithoutVowel;
        }
    }
    return best;
}

// ---------------------------------------------------------------- the detector

struct DetectorDeleter {
    void operator()(uchardet_t detector) const { uchardet_delete(detector); }
};

LyricEncoding DetectorVerdict(const QByteArray& bytes) {
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, DetectorDeleter> detector(
        uchardet_new());
    if (!detector || uchardet_handle_data(detector.get(), bytes.data(), size_t(bytes.size())) != 0)
        return LyricEncoding::Cp1251;
    uchardet_data_end(detector.get());
    const QByteArray verdict = QByteArray(uchardet_get_charset(detector.get())).toUpper();
    for (const auto& [name, encoding] : {std::pair{"KOI8-R", LyricEncoding::Koi8R},
                                         {"IBM866", LyricEncoding::Ibm866},
                                         {"ISO-8859-5", LyricEncoding::Iso8859_5}})
        if (verdict == name)
            return ReadsMoreLikeRussian(bytes, encoding) ? encoding : LyricEncoding::Cp1251;
    if (verdict == "MAC-CYRILLIC" || verdict == "WINDOWS-1251")
        return IsMacCyrillic(bytes) ? LyricEncoding::MacCyrillic : LyricEncoding::Cp1251;
    return LyricEncoding::Cp1251;  // no verdict among them
}

const char* IconvName(LyricEncoding encoding) {
    switch (encoding) {
        case LyricEncoding::Utf16Le:
            return "UTF-16LE";
        case LyricEncoding::Utf16Be:
            return "UTF-16BE";
        case LyricEncoding::Koi8R:
            return "KOI8-R";
        case LyricEncoding::Ibm866:
            return "IBM866";
        case LyricEncoding::Iso8859_5:
            return "ISO-8859-5";
        case LyricEncoding::MacCyrillic:
            return "MAC-CYRILLIC";
        default:
            return nullptr;
    }
}

// glibc's iconv, with every sequence it refuses (a lone surrogate, an odd last byte of
// UTF-16) turned into U+FFFD and passed over.
QByteArray ConvertToUtf8(QByteArrayView bytes, LyricEncoding encoding) {
    const iconv_t cd = iconv_open("UTF-8", IconvName(encoding));
    if (cd == iconv_t(-1)) return bytes.toByteArray();  // glibc always has these
    const size_t unit =
        encoding == LyricEncoding::Utf16Le || encoding == LyricEncoding::Utf16Be ? 2 : 1;
    QByteArray out(bytes.size() * 2 + 16, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    qsizetype written = 0;
    while (inLeft > 0) {
        char* to = out.data() + written;
        size_t outLeft = size_t(out.size() - written);
        const size_t rc = iconv(cd, &in, &inLeft, &to, &outLeft);
        written = to - out.data();
        if (rc != size_t(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ or EINVAL: a unit that is no character, or a sequence cut off at the end.
        if (out.size() - written < kReplacement.size()) out.resize(out.size() * 2);
        memcpy(out.data() + written, kReplacement.constData(), size_t(kReplacement.size()));
        written += kReplacement.size();
        const size_t skip = std::min(unit, inLeft);
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    out.truncate(written);
    return out;
}

}  // namespace

LyricEncoding DetectLyricEncoding(QByteArrayView bytes) {
    if (bytes.startsWith(kUtf8Bom)) return LyricEncoding::Utf8Bom;
    if (bytes.startsWith(kUtf16LeBom)) return LyricEncoding::Utf16Le;
    if (bytes.startsWith(kUtf16BeBom)) return LyricEncoding::Utf16Be;
    // Checked before ASCII: Cyrillic in UTF-16 is all bytes below 0x80.
    if (const auto utf16 = Utf16WithoutMark(bytes)) return *utf16;
    if (!HoldsNonAscii(bytes)) return LyricEncoding::Cp1251;
    if (IsValidUtf8(bytes)) return LyricEncoding::Utf8;
    if (IsPlainlyCp1251(bytes)) return LyricEncoding::Cp1251;
    if (IsShort(bytes)) return MostPlausibleReading(bytes.toByteArray());
    return DetectorVerdict(bytes.toByteArray());
}

QByteArray LyricTextAsUtf8(const QByteArray& bytes, LyricEncoding encoding) {
    switch (encoding) {
        case LyricEncoding::Cp1251:
        case LyricEncoding::Utf8:
            return bytes;
        case LyricEncoding::Utf8Bom: {
            // The mark vouches for the encoding, not for every byte after it.
            const QByteArray body = bytes.mid(kUtf8Bom.size());
            return IsValidUtf8(body) ? body : QString::fromUtf8(body).toUtf8();
        }
        case LyricEncoding::Utf16Le:
        case LyricEncoding::Utf16Be: {
            // iconv keeps a byte-order mark of a named byte order as a character.
            const QByteArray& mark = encoding == LyricEncoding::Utf16Le ? kUtf16LeBom : kUtf16BeBom;
            QByteArrayView body(bytes);
            if (body.startsWith(mark)) body = body.sliced(mark.size());
            return ConvertToUtf8(body, encoding);
        }
        default:
            return ConvertToUtf8(bytes, encoding);
    }
}
