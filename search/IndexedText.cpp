#include "search/IndexedText.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "search/QueryTranslation.h"
#include "store/Cp1251.h"

namespace {

// What the index is given of a text or a name: its words folded as a search folds what is
// typed (case, ё as е), every other character a space, in UTF-8. Windows-1251 has one byte per
// character, so the folded form of each byte is worked out once, through the program's decoder
// and the search's own folding; the index's plain "ascii" tokenizer then only splits at the
// spaces (it takes every byte above 127 as part of a word), which costs far less than folding
// 100 MB of lyrics in the index's Unicode tokenizer. Insert and delete give the same words.
class IndexFolding {
  public:
    IndexFolding() {
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QStringList words = SearchWords(cp1251::decode(QByteArrayView(&byte, 1)));
            const QByteArray utf8 = words.isEmpty() ? QByteArray(" ") : words.first().toUtf8();
            Form& f = forms_[size_t(b)];
            f.length = std::min<int>(int(utf8.size()), int(sizeof(f.bytes)));
            memcpy(f.bytes, utf8.constData(), size_t(f.length));
        }
    }
    void append(QByteArray& out, QByteArrayView text) const {
        const qsizetype start = out.size();
        out.resize(start + 4 * text.size());  // no byte folds to more than four
        char* to = out.data() + start;
        for (const char c : text) {
            const Form& f = forms_[uchar(c)];
            memcpy(to, f.bytes, sizeof(f.bytes));
            to += f.length;
        }
        out.resize(to - out.constData());
    }

  private:
    struct Form {
        char bytes[4];
        int length;
    };
    std::array<Form, 256> forms_{};
};

const IndexFolding& Folding() {
    static const IndexFolding folding;
    return folding;
}

}  // namespace

QByteArray IndexFold(QByteArrayView text) {
    QByteArray out;
    Folding().append(out, text);
    return out;
}

QByteArray NamesDocument(const QByteArray& performer, const QByteArray& album,
                         const QByteArray& song) {
    QByteArray out;
    for (const QByteArray* name : {&performer, &album, &song}) {
        Folding().append(out, *name);
        out += ' ';
    }
    return out;
}

// The words of `text` that start with a typed word.
MarkedWords MarkWords(const QString& text, const QStringList& words) {
    MarkedWords m;
    // Most lines hold none of the words: one look at the folded line tells.
    const QString folded = SearchFold(text);
    if (std::none_of(words.begin(), words.end(),
                     [&](const QString& w) { return folded.contains(w); }))
        return m;
    // Folding seldom changes a line's length; where it does, each word is folded alone.
    const QList<WordSpan> spans = SearchWordSpans(folded.size() == text.size() ? folded : text);
    QList<bool> used(words.size(), false);
    for (const WordSpan& span : spans) {
        bool matched = false;
        for (int i = 0; i < words.size(); ++i)
            if (span.word.startsWith(words[i])) {
                matched = true;
                if (!used[i]) ++m.distinct;
                used[i] = true;
            }
        if (matched) m.marks.emplace_back(span.start, span.length);
    }
    return m;
}
