#include "import/PlainXml.h"

#include "import/LyricText.h"

namespace {

void Expect(bool condition) {
    if (!condition) throw PlainXmlReader::NotPlain{};
}

bool IsSpace(QChar c) {
    return c == u' ' || c == u'\n' || c == u'\t' || c == u'\r';
}

// Names are taken in ASCII only; a name with other letters is read by Qt's reader.
bool IsNameStart(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool IsNameChar(QChar c) {
    return IsNameStart(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
}

// A character XML 1.0 allows in a document; a character of a surrogate pair is taken, as the
// UTF-8 decoder only makes whole pairs.
bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c < 0xFFFE);
}

bool IsCharacterReference(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c < 0xD800) ||
           (c >= 0xE000 && c < 0xFFFE) || (c >= 0x10000 && c <= 0x10FFFF);
}

// "&#1081;" or "&#x439;" without its "&#" and ";".
char32_t CharacterReference(QStringView digits) {
    const bool hex = digits.startsWith(u'x');
    if (hex) digits = digits.sliced(1);
    Expect(!digits.isEmpty() && digits.size() <= 7);
    char32_t value = 0;
    for (const QChar c : digits) {
        const int digit = c >= u'0' && c <= u'9'   ? c.unicode() - u'0'
                          : !hex                   ? -1
                          : c >= u'a' && c <= u'f' ? c.unicode() - u'a' + 10
                          : c >= u'A' && c <= u'F' ? c.unicode() - u'A' + 10
                                                   : -1;
        Expect(digit >= 0);
        value = value * (hex ? 16 : 10) + char32_t(digit);
    }
    Expect(IsCharacterReference(value));
    return value;
}

// The entity or character reference that starts at `raw[at]` ("&"), appended to `out`; the
// index of its ";".
qsizetype AppendReference(QStringView raw, qsizetype at, QString& out) {
    const qsizetype semicolon = raw.indexOf(u';', at);
    Expect(semicolon > at + 1);
    const QStringView name = raw.sliced(at + 1, semicolon - at - 1);
    if (name == u"lt")
        out += u'<';
    else if (name == u"gt")
        out += u'>';
    else if (name == u"amp")
        out += u'&';
    else if (name == u"quot")
        out += u'"';
    else if (name == u"apos")
        out += u'\'';
    else if (name.startsWith(u'#'))
        out += QStringView(QChar::fromUcs4(CharacterReference(name.sliced(1))));
    else
        throw PlainXmlReader::NotPlain{};
    return semicolon;
}

// Text or an attribute value as the document means it: references replaced, and CR LF or a
// lone CR read as LF, as XML reads line ends.
QString Decoded(QStringView raw) {
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == u'&') {
            i = AppendReference(raw, i, out);
        } else if (c == u'\r') {
            out += u'\n';
            if (i + 1 < raw.size() && raw[i + 1] == u'\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

PlainXmlReader::PlainXmlReader(const QByteArray& utf8) {
    // Qt's reader tells the encoding from the first four bytes and finds a shorter document
    // cut short; no song is that short.
    Expect(utf8.size() >= 4);
    // A document holding U+FFFD, damaged or not, goes to Qt's reader.
    std::optional<QString> text = PlainUtf8Text(utf8);
    Expect(text.has_value());
    doc_ = *std::move(text);
}

XmlToken PlainXmlReader::next() {
    if (emptyElement_) {
        emptyElement_ = false;
        return endElement();
    }
    if (ended_) return XmlToken::EndDocument;
    if (open_.isEmpty()) {
        readProlog();
        return readStartTag();
    }
    if (at(at_) != u'<') {
        readText();
        return XmlToken::Characters;
    }
    const QChar after = at(at_ + 1);
    if (after == u'/') return readEndTag();
    // Comments, CDATA and processing instructions inside the root are left to Qt's reader.
    Expect(after != u'!' && after != u'?');
    return readStartTag();
}

QStringView PlainXmlReader::attribute(QStringView name) const {
    // Looked up for every chord of a song: most names differ in their first letter already.
    for (const Attribute& a : attributes_)
        if (a.name.size() == name.size() && a.name.front() == name.front() && a.name == name)
            return a.value;
    return {};
}

void PlainXmlReader::readProlog() {
    if (QStringView(doc_).sliced(at_).startsWith(u"<?xml")) readDeclaration();
    skipMisc();
}

// <?xml version="1.0" encoding="UTF-8" standalone="yes"?>, encoding and standalone optional.
void PlainXmlReader::readDeclaration() {
    at_ += 5;
    Expect(skipSpace() && skip(u"version"));
    Expect(readDeclared() == u"1.0");
    bool spaced = skipSpace();
    if (spaced && skip(u"encoding")) {
        Expect(readDeclared().compare(u"UTF-8", Qt::CaseInsensitive) == 0);
        spaced = skipSpace();
    }
    if (spaced && skip(u"standalone")) {
        const QStringView standalone = readDeclared();
        Expect(standalone == u"yes" || standalone == u"no");
        skipSpace();
    }
    Expect(skip(u"?>"));
}

// The value of one of the declaration's settings: ="…" or='…'.
QStringView PlainXmlReader::readDeclared() {
    const QChar quote = readValueStart();
    const qsizetype start = at_;
    const qsizetype end = doc_.indexOf(quote, start);
    Expect(end > start);
    at_ = end + 1;
    return QStringView(doc_).sliced(start, end - start);
}

// The "=" before a value, spaces around it allowed, and the quote that opens the value; the
// quote, which is to close it too.
QChar PlainXmlReader::readValueStart() {
    skipSpace();
    Expect(skip(u"="));
    skipSpace();
    const QChar quote = at(at_);
    Expect(quote == u'"' || quote == u'\'');
    ++at_;
    return quote;
}

// White space and comments, before and after the root element.
void PlainXmlReader::skipMisc() {
    for (skipSpace(); QStringView(doc_).sliced(at_).startsWith(u"<!--"); skipSpace()) readComment();
}

void PlainXmlReader::readComment() {
    at_ += 4;
    const qsizetype end = doc_.indexOf(u"--", at_);
    Expect(end >= 0 && at(end + 2) == u'>');
    for (qsizetype i = at_; i < end; ++i) Expect(IsXmlChar(doc_[i].unicode()));
    at_ = end + 3;
}

XmlToken PlainXmlReader::readStartTag() {
    Expect(at(at_) == u'<');
    ++at_;
    name_ = readName();
    attributes_.clear();
    decodedValues_.clear();
    for (;;) {
        const bool spaced = skipSpace();
        const QChar c = at(at_);
        if (c == u'>') {
            ++at_;
            break;
        }
        if (c == u'/') {
            Expect(at(at_ + 1) == u'>');
            at_ += 2;
            emptyElement_ = true;
            break;
        }
        Expect(spaced);
        readAttribute();
    }
    open_.append(name_);
    return XmlToken::StartElement;
}

void PlainXmlReader::readAttribute() {
    const QStringView name = readName();
    const QChar quote = readValueStart();
    const qsizetype start = at_;
    bool references = false;
    for (;; ++at_) {
        Expect(at_ < doc_.size());
        const QChar c = doc_[at_];
        if (c == quote) break;
        // Line ends and tabs in a value are read as spaces by XML: left to Qt's reader.
        Expect(c.unicode() >= 0x20 && c.unicode() < 0xFFFE && c != u'<');
        references = references || c == u'&';
    }
    Attribute attribute{name, QStringView(doc_).sliced(start, at_ - start)};
    ++at_;
    if (references) {
        decodedValues_.append(Decoded(attribute.value));
        attribute.value = decodedValues_.back();
    }
    for (const Attribute& a : attributes_) Expect(a.name != name);
    if (name == u"xmlns") {
        Expect(open_.isEmpty());
        namespace_ = attribute.value.toString();
    }
    attributes_.append(attribute);
}

XmlToken PlainXmlReader::readEndTag() {
    at_ += 2;
    const QStringView name = readName();
    skipSpace();
    Expect(skip(u">"));
    Expect(open_.back() == name);
    return endElement();
}

XmlToken PlainXmlReader::endElement() {
    name_ = open_.takeLast();
    if (open_.isEmpty()) {
        skipMisc();
        Expect(at_ == doc_.size());
        ended_ = true;
    }
    return XmlToken::EndElement;
}

// The text up to the next tag. Most characters are letters, so one comparison passes them;
// the few below '@' that XML treats apart are looked at one by one.
void PlainXmlReader::readText() {
    const qsizetype start = at_;
    bool plain = true;
    for (; at_ < doc_.size(); ++at_) {
        const char16_t c = doc_[at_].unicode();
        if (c >= u'@') {
            Expect(c < 0xFFFE);
            continue;
        }
        if (c == u'<') break;
        if (c == u'&' || c == u'\r')
            plain = false;
        else if (c == u'>')
            Expect(at_ - start < 2 || doc_[at_ - 1] != u']' || doc_[at_ - 2] != u']');
        else if (c < 0x20)
            Expect(c == u'\t' || c == u'\n');
    }
    Expect(at_ < doc_.size());  // text that runs to the end leaves elements open
    const QStringView raw = QStringView(doc_).sliced(start, at_ - start);
    if (plain) {
        text_ = raw;
    } else {
        decoded_ = Decoded(raw);
        text_ = decoded_;
    }
}

QStringView PlainXmlReader::readName() {
    const qsizetype start = at_;
    Expect(IsNameStart(at(at_)));
    while (IsNameChar(at(at_))) ++at_;
    // A prefix, or a letter beyond ASCII, is for Qt's reader.
    Expect(at(at_) != u':' && at(at_).unicode() < 0x80);
    return QStringView(doc_).sliced(start, at_ - start);
}

bool PlainXmlReader::skipSpace() {
    const qsizetype start = at_;
    while (at_ < doc_.size() && IsSpace(doc_[at_])) ++at_;
    return at_ > start;
}

bool PlainXmlReader::skip(QStringView literal) {
    if (!QStringView(doc_).sliced(at_).startsWith(literal)) return false;
    at_ += literal.size();
    return true;
}
