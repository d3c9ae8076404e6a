#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// What the user types in the search box becomes a full-text query here. Typed text is only
// ever words and quoted phrases: quotes left open, brackets, operators and the words AND, OR,
// NOT and NEAR are searched as text (or dropped as punctuation), never taken as query syntax.

// Letter case and ё/е do not count in a search: both sides of every comparison pass through
// here (the index folds case itself, but not ё).
QString SearchFold(QStringView text);

// The words of a text as the index sees them: runs of letters, digits and private-use
// characters, folded; everything else separates words.
struct WordSpan {
    int start;   // in UTF-16 units of the text
    int length;  // likewise
    QString word;
};
QList<WordSpan> SearchWordSpans(QStringView text);
QStringList SearchWords(QStringView text);

struct TranslatedQuery {
    // The query for the index, empty when nothing was typed that could match.
    QString match;
    // Every word typed, folded, in order: each must prefix a word of a matching song.
    QStringList words;
};

// Every word is a prefix match and every word must match. A word that punctuation splits
// ("рок-н-ролл") and text in double quotes are phrases: their words must follow one another.
TranslatedQuery TranslateQuery(QStringView typed);
