#include "import/CodePages.h"

#include <iconv.h>
#include <cerrno>
#include <vector>

#include "store/Cp1251.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendUtf16(QString& text, const char* from, const char* to) {
    for (const char* p = from; p + 1 < to; p += 2)
        text.append(QChar(char16_t(uchar(p[0]) | uchar(p[1]) << 8)));
}

// Symbol fonts draw their own glyphs; Windows gives them the private range U+F0xx.
QString Symbols(QByteArrayView bytes) {
    QString text;
    for (const char b : bytes) text.append(QChar(char16_t(0xF000 | uchar(b))));
    return text;
}

QByteArray IconvName(int codePage) {
    switch (codePage) {
        case 10000:
            return "MACINTOSH";
        case 20866:
            return "KOI8-R";
        case 65001:
            return "UTF-8";
        default:
            return "CP" + QByteArray::number(codePage);
    }
}

// A byte sequence the code page does not define becomes U+FFFD, one per byte.
QString Convert(iconv_t cd, QByteArrayView bytes) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    QString text;
    std::vector<char> out(size_t(bytes.size()) * 4 + 8);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    while (inLeft > 0) {
        char* outPtr = out.data();
        size_t outLeft = out.size();
        const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        AppendUtf16(text, out.data(), outPtr);
        if (done != size_t(-1)) break;
        if (error == E2BIG) continue;
        text.append(QChar(kReplacement));
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return text;
}

}  // namespace

int CharsetCodePage(int charset) {
    switch (charset) {
        case 2:
            return kSymbolCodePage;
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 130:
            return 1361;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
            return 437;
        case 255:
            return 850;
        default:
            return kDocumentCodePage;
    }
}

CodePageDecoder::~CodePageDecoder() {
    for (Descriptor cd : std::as_const(open_))
        if (iconv_t(cd) != iconv_t(-1)) iconv_close(iconv_t(cd));
}

QString CodePageDecoder::decode(int codePage, QByteArrayView bytes) {
    if (codePage == 1251) return cp1251::decode(bytes);
    if (codePage == kSymbolCodePage) return Symbols(bytes);
    const iconv_t cd = iconv_t(descriptor(codePage));
    if (cd == iconv_t(-1)) return cp1251::decode(bytes);  // most likely the catalogue's own
    return Convert(cd, bytes);
}

CodePageDecoder::Descriptor CodePageDecoder::descriptor(int codePage) {
    const auto found = open_.constFind(codePage);
    if (found != open_.constEnd()) return found.value();
    iconv_t cd = iconv_open("UTF-16LE", IconvName(codePage).constData());
    if (cd == iconv_t(-1)) cd = iconv_open("UTF-16LE", "WINDOWS-" + QByteArray::number(codePage));
    open_.insert(codePage, Descriptor(cd));
    return Descriptor(cd);
}
