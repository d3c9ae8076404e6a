// Debian has no library that turns an RTF document into plain text (the word processors keep
// their importers to themselves), so the program reads RTF itself. It needs only the text:
// groups, control words and symbols, the destinations that hold no text, paragraph ends, and
// the three ways RTF writes a character (plain bytes, \'hh in the document's code page, \uN).
#include "import/RtfReader.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <vector>

#include "import/CodePages.h"
#include "store/Cp1251.h"

namespace {

// What a control word means to a reader that wants only the text.
enum class Word {
    Other,        // formatting: no effect on the text
    Skip,         // a destination without text: the rest of its group is passed over
    FontTable,    // \fonttbl
    LineEnd,      // \par, \line, \sect, \page, \row
    Character,    // \tab, \emdash, ...: one character
    Unicode,      // \uN
    UnicodeSkip,  // \ucN
    Binary,       // \binN: N bytes of data follow
    Font,         // \fN
    Plain,        // \plain: back to the default font
    DefaultFont,  // \deffN
    CodePage,     // \ansicpgN
    Mac,
    Pc,
    Pca,
    Charset,      // \fcharsetN in the font table
    FontCodePage  // \cpgN in the font table
};

struct WordMeaning {
    Word word = Word::Other;
    char16_t character = 0;
};

using WordTable = QHash<QByteArrayView, WordMeaning>;

// Groups that hold no text of the document: tables, metadata, pictures, objects, page
// furniture, field instructions and the numbering text of lists.
void AddSkippedDestinations(WordTable& table) {
    static constexpr QByteArrayView skipped[] = {"aftncn",
                                                 "aftnsep",
                                                 "aftnsepc",
                                                 "annotation",
                                                 "atnauthor",
                                                 "atnid",
                                                 "bkmkend",
                                                 "bkmkstart",
                                                 "colorschememapping",
                                                 "colortbl",
                                                 "datafield",
                                                 "datastore",
                                                 "docvar",
                                                 "filetbl",
                                                 "fldinst",
                                                 "footer",
                                                 "footerf",
                                                 "footerl",
                                                 "footerr",
                                                 "footnote",
                                                 "ftncn",
                                                 "ftnsep",
                                                 "ftnsepc",
                                                 "generator",
                                                 "header",
                                                 "headerf",
                                                 "headerl",
                                                 "headerr",
                                                 "info",
                                                 "latentstyles",
                                                 "listoverridetable",
                                                 "listtable",
                                                 "listtext",
                                                 "mmathPr",
                                                 "nonshppict",
                                                 "objdata",
                                                 "object",
                                                 "pgdsctbl",
                                                 "pict",
                                                 "pn",
                                                 "pntext",
                                                 "pntxta",
                                                 "pntxtb",
                                                 "protusertbl",
                                                 "revtbl",
                                                 "rsidtbl",
                                                 "shp",
                                                 "shpinst",
                                                 "shprslt",
                                                 "stylesheet",
                                                 "tc",
                                                 "template",
                                                 "themedata",
                                                 "txe",
                                                 "userprops",
                                                 "xe",
                                                 "xmlnstbl"};
    for (const QByteArrayView w : skipped) table.insert(w, {Word::Skip});
}

// One look-up per control word: a document has thousands of them.
const WordTable& Words() {
    static const WordTable table = [] {
        WordTable t;
        AddSkippedDestinations(t);
        for (const QByteArrayView w : {"par", "line", "sect", "page", "row"})
            t.insert(w, {Word::LineEnd});
        const std::pair<QByteArrayView, char16_t> characters[] = {
            {"tab", u'\t'},     {"cell", u'\t'},    {"emdash", 0x2014},    {"endash", 0x2013},
            {"lquote", 0x2018}, {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D},
            {"bullet", 0x2022}, {"emspace", u' '},  {"enspace", u' '},     {"qmspace", u' '}};
        for (const auto& [w, c] : characters) t.insert(w, {Word::Character, c});
        const std::pair<QByteArrayView, Word> others[] = {{"fonttbl", Word::FontTable},
                                                          {"u", Word::Unicode},
                                                          {"uc", Word::UnicodeSkip},
                                                          {"bin", Word::Binary},
                                                          {"f", Word::Font},
                                                          {"plain", Word::Plain},
                                                          {"deff", Word::DefaultFont},
                                                          {"ansicpg", Word::CodePage},
                                                          {"mac", Word::Mac},
                                                          {"pc", Word::Pc},
                                                          {"pca", Word::Pca},
                                                          {"fcharset", Word::Charset},
                                                          {"cpg", Word::FontCodePage}};
        for (const auto& [w, meaning] : others) t.insert(w, {meaning});
        return t;
    }();
    return table;
}

// The two words of nearly every line of a document, \par and \uN, are known without the table.
WordMeaning LookUpWord(QByteArrayView word) {
    if (word.size() == 3 && word[0] == 'p' && word[1] == 'a' && word[2] == 'r')
        return {Word::LineEnd};
    if (word.size() == 1 && word[0] == 'u') return {Word::Unicode};
    return Words().value(word);
}

// Control characters are not text (see appendDecoded); among them the line breaks of the
// RTF source.
bool IsCatalogueTextByte(char b) {
    return uchar(b) >= 0x20 || b == '\t';
}

// The value of each hex digit, -1 for other bytes: a Cyrillic document is mostly \'hh.
constexpr std::array<signed char, 256> kHexDigits = [] {
    std::array<signed char, 256> digits{};
    for (int c = 0; c < 256; ++c)
        digits[size_t(c)] = c >= '0' && c <= '9'   ? c - '0'
                            : c >= 'a' && c <= 'f' ? c - 'a' + 10
                            : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                   : -1;
    return digits;
}();

enum class Destination { Text, FontTable, Skip };

struct GroupState {
    Destination destination = Destination::Text;
    int font = -1;  // -1: the document's default font
    int unicodeSkip = 1;
    int codePage = 1252;
};

class RtfParser {
  public:
    explicit RtfParser(QByteArrayView rtf) : in_(rtf) {}

    CatalogueText run() {
        while (pos_ < in_.size() && !finished_) step();
        endText();
        return line_.finish();
    }

  private:
    void step() {
        if (inCatalogueText()) {
            catalogueText();
            if (pos_ >= in_.size()) return;
        }
        const char c = in_[pos_++];
        switch (c) {
            case '{':
                fallbackLeft_ = 0;
                stack_.push_back(state_);
                return;
            case '}':
                fallbackLeft_ = 0;
                closeGroup();
                return;
            case '\\':
                control();
                return;
            case '\r':
            case '\n':
                return;  // line breaks of the RTF source are not text
            default:
                textByte(c);
        }
    }

    bool inCatalogueText() const {
        return fallbackLeft_ == 0 && state_.codePage == 1251 &&
               state_.destination == Destination::Text && pendingBytes_.isEmpty() &&
               !line_.awaitsLowSurrogate();
    }

    // The common case of a document in the catalogue's own code page: a run of plain text,
    // \'hh bytes (how word processors write Cyrillic) and source line breaks goes into the
    // line byte by byte, without the general path. It stops at groups and other controls.
    void catalogueText() {
        const char* const text = in_.data();
        const qsizetype size = in_.size();
        qsizetype p = pos_;
        // Every byte written takes at least one byte of the document.
        char* const start = line_.beginRun(size - p);
        char* out = start;
        while (p < size) {
            char c = text[p];
            if (c == '\\') {
                const int value = p + 1 < size && text[p + 1] == '\'' ? hexByte(p + 2) : -1;
                if (value < 0) break;
                c = char(value);
                p += 4;
            } else if (c == '{' || c == '}') {
                break;
            } else {
                ++p;
            }
            *out = c;
            out += IsCatalogueTextByte(c);
        }
        line_.endRun(out);
        pos_ = p;
    }

    void appendCatalogueByte(char b) {
        if (IsCatalogueTextByte(b)) line_.appendByte(b);
    }

    void closeGroup() {
        if (stack_.empty()) {
            finished_ = true;
            return;
        }
        const bool fontTableEnded = state_.destination == Destination::FontTable;
        state_ = stack_.back();
        stack_.pop_back();
        if (fontTableEnded) refreshCodePage();
        if (stack_.empty()) finished_ = true;  // the document's own group has ended
    }

    bool skippingFallback() {
        if (fallbackLeft_ == 0) return false;
        --fallbackLeft_;
        return true;
    }

    void textByte(char c) {
        if (skippingFallback() || state_.destination != Destination::Text) return;
        if (uchar(c) >= 0x80) {
            codePageByte(c);
        } else {
            appendUnit(char16_t(uchar(c)));
        }
    }

    void control() {
        if (pos_ >= in_.size()) return;
        const char c = in_[pos_];
        if (!isLetter(c)) {
            ++pos_;
            symbol(c);
            return;
        }
        const qsizetype start = pos_;
        while (pos_ < in_.size() && pos_ - start < 32 && isLetter(in_[pos_])) ++pos_;
        const QByteArrayView word = in_.sliced(start, pos_ - start);
        bool hasParam = false;
        long param = 0;
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        while (pos_ < in_.size() && isDigit(in_[pos_])) {
            hasParam = true;
            if (param < 1000000000L) param = param * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        if (negative) param = -param;
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
        const WordMeaning meaning = LookUpWord(word);
        if (meaning.word == Word::Binary) {
            pos_ += qMin<qsizetype>(qMax(0L, param), in_.size() - pos_);
            return;
        }
        if (skippingFallback()) return;
        controlWord(meaning, hasParam ? int(param) : -1);
    }

    void symbol(char c) {
        if (c == '\'') {
            const int value = hexByte();
            if (skippingFallback() || value < 0) return;
            if (state_.destination == Destination::Text) codePageByte(char(value));
            return;
        }
        if (c == '*') {
            state_.destination = Destination::Skip;
            return;
        }
        if (skippingFallback() || state_.destination != Destination::Text) return;
        switch (c) {
            case '\\':
            case '{':
            case '}':
                appendUnit(char16_t(c));
                return;
            case '~':
                appendUnit(0x00A0);
                return;
            case '_':
                appendUnit(u'-');
                return;
            case '\r':
            case '\n':
                endLine();
                return;
            case '\t':
                appendUnit(u'\t');
                return;
            default:
                return;  // \- (optional hyphen), \: and \| carry no text
        }
    }

    int hexByte() {
        const int value = hexByte(pos_);
        if (value >= 0) pos_ += 2;
        return value;
    }

    // The byte written as two hex digits at `at`, or -1.
    int hexByte(qsizetype at) const {
        if (at + 2 > in_.size()) return -1;
        const int high = hexDigit(in_[at]);
        const int low = hexDigit(in_[at + 1]);
        if (high < 0 || low < 0) return -1;
        return high * 16 + low;
    }

    static int hexDigit(char c) { return kHexDigits[uchar(c)]; }

    void controlWord(WordMeaning meaning, int param) {
        if (state_.destination == Destination::Skip) return;
        if (meaning.word == Word::FontTable) {
            state_.destination = Destination::FontTable;
        } else if (meaning.word == Word::Skip) {
            state_.destination = Destination::Skip;
        } else if (state_.destination == Destination::FontTable) {
            fontTableWord(meaning.word, param);
        } else if (!documentWord(meaning.word, param)) {
            textWord(meaning, param);
        }
    }

    void fontTableWord(Word word, int param) {
        if (word == Word::Font) {
            fontBeingDefined_ = param;
        } else if (word == Word::Charset) {
            fontCodePage_.insert(fontBeingDefined_, CharsetCodePage(param));
        } else if (word == Word::FontCodePage && param > 0) {
            fontCodePage_.insert(fontBeingDefined_, param);
        }
    }

    // Words that set the document's code page, fonts and Unicode fallback.
    bool documentWord(Word word, int param) {
        switch (word) {
            case Word::UnicodeSkip:
                state_.unicodeSkip = qMax(0, param);
                return true;
            case Word::CodePage:
                if (param > 0) documentCodePage_ = param;
                break;
            case Word::Mac:
                documentCodePage_ = 10000;
                break;
            case Word::Pc:
                documentCodePage_ = 437;
                break;
            case Word::Pca:
                documentCodePage_ = 850;
                break;
            case Word::DefaultFont:
                defaultFont_ = param;
                break;
            case Word::Font:
                state_.font = param;
                break;
            case Word::Plain:
                state_.font = -1;
                break;
            default:
                return false;
        }
        refreshCodePage();
        return true;
    }

    void textWord(WordMeaning meaning, int param) {
        if (meaning.word == Word::LineEnd) {
            endLine();
        } else if (meaning.word == Word::Unicode && param != -1) {
            appendUnit(char16_t(param < 0 ? param + 65536 : param));
            fallbackLeft_ = state_.unicodeSkip;
        } else if (meaning.word == Word::Character) {
            appendUnit(meaning.character);
        }
    }

    // The code page of the text that follows, after a change of font or of the font table.
    void refreshCodePage() {
        const int font = state_.font >= 0 ? state_.font : defaultFont_;
        const int codePage = fontCodePage_.value(font, kDocumentCodePage);
        state_.codePage = codePage != kDocumentCodePage ? codePage : documentCodePage_;
    }

    // Bytes of another code page are gathered, so that a character of two bytes (the East
    // Asian code pages) reaches the decoder whole.
    void codePageByte(char b) {
        if (!pendingBytes_.isEmpty() && pendingCodePage_ != state_.codePage) flushBytes();
        if (state_.codePage == 1251) {
            appendCatalogueByte(b);
            return;
        }
        pendingCodePage_ = state_.codePage;
        pendingBytes_.append(b);
    }

    void flushBytes() {
        if (!pendingBytes_.isEmpty()) decodePendingBytes();
    }

    void decodePendingBytes() {
        const QString text = decoder_.decode(pendingCodePage_, pendingBytes_);
        pendingBytes_.clear();
        for (const QChar c : text) appendDecoded(c.unicode());
    }

    void appendUnit(char16_t unit) {
        flushBytes();
        appendDecoded(unit);
    }

    // Control characters are not text: a line end inside a stored line would split it, and a
    // Ctrl-Z would end it for every reader.
    void appendDecoded(char16_t unit) {
        if (unit < 0x20 && unit != u'\t') return;
        line_.appendUnit(unit);
    }

    void endLine() {
        flushBytes();
        line_.endLine();
    }

    // The empty line after a final paragraph end is no line of the text.
    void endText() {
        flushBytes();
        if (!line_.lineIsEmpty()) endLine();
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    QByteArrayView in_;
    qsizetype pos_ = 0;
    bool finished_ = false;
    std::vector<GroupState> stack_;
    GroupState state_;
    int fallbackLeft_ = 0;
    int documentCodePage_ = 1252;
    int defaultFont_ = 0;
    int fontBeingDefined_ = -1;
    QHash<int, int> fontCodePage_;
    int pendingCodePage_ = 0;
    QByteArray pendingBytes_;
    CodePageDecoder decoder_;
    CatalogueLineBuilder line_;
};

}  // namespace

bool IsRtfDocument(QByteArrayView bytes) {
    return bytes.startsWith("{\\rtf");
}

CatalogueText RtfToPlainText(const QByteArray& bytes) {
    if (!IsRtfDocument(bytes)) return PlainLyricText(bytes);
    return RtfParser(bytes).run();
}
