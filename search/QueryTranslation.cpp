#include "search/QueryTranslation.h"

namespace {

// The index's tokenizer takes letters, numbers and private-use characters as parts of words;
// the same classes here keep the words typed the words indexed.
bool IsWordCharacter(char32_t c) {
    switch (QChar::category(c)) {
        case QChar::Letter_Uppercase:
        case QChar::Letter_Lowercase:
        case QChar::Letter_Titlecase:
        case QChar::Letter_Modifier:
        case QChar::Letter_Other:
        case QChar::Number_DecimalDigit:
        case QChar::Number_Letter:
        case QChar::Number_Other:
        case QChar::Other_PrivateUse:
            return true;
        default:
            return false;
    }
}

// A query string literal: the word between double quotes, a quote inside doubled.
QString Quoted(const QString& word) {
    QString out = word;
    out.replace(u'"', QStringLiteral("\"\""));
    return u'"' + out + QStringLiteral("\"*");
}

// One or more words that must follow one another, each a prefix.
QString PhraseOf(const QStringList& words) {
    QStringList parts;
    for (const QString& w : words) parts << Quoted(w);
    return parts.join(QStringLiteral(" + "));
}

}  // namespace

QString SearchFold(QStringView text) {
    QString folded = text.toString().toLower();
    folded.replace(QChar(0x0451), QChar(0x0435));  // ё → е (Ё is lowered to ё above)
    return folded;
}

QList<WordSpan> SearchWordSpans(QStringView text) {
    QList<WordSpan> spans;
    int start = -1;
    const auto close = [&](int end) {
        if (start < 0) return;
        spans.append({start, end - start, SearchFold(text.mid(start, end - start))});
        start = -1;
    };
    for (int i = 0; i < text.size();) {
        char32_t c = text[i].unicode();
        int width = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            width = 2;
        }
        if (IsWordCharacter(c)) {
            if (start < 0) start = i;
        } else {
            close(i);
        }
        i += width;
    }
    close(int(text.size()));
    return spans;
}

QStringList SearchWords(QStringView text) {
    QStringList words;
    for (const WordSpan& s : SearchWordSpans(text)) words << s.word;
    return words;
}

TranslatedQuery TranslateQuery(QStringView typed) {
    TranslatedQuery q;
    QStringList terms;
    const auto add = [&](const QStringList& words) {
        if (words.isEmpty()) return;
        q.words += words;
        terms << PhraseOf(words);
    };
    // Even pieces stand outside quotes, odd ones inside; a quote left open runs to the end.
    const QList<QStringView> pieces = typed.split(u'"');
    for (int i = 0; i < pieces.size(); ++i) {
        if (i % 2 == 1) {
            add(SearchWords(pieces[i]));
            continue;
        }
        const QString outside = pieces[i].toString().simplified();  // any blank splits
        for (QStringView chunk : QStringView(outside).split(u' ', Qt::SkipEmptyParts))
            add(SearchWords(chunk));
    }
    q.match = terms.join(u' ');
    return q;
}
