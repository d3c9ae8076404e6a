#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The words of a Windows-1251 text or name as the index is given them: folded as a search
// folds what is typed, every other character a space, in UTF-8.
QByteArray IndexFold(QByteArrayView text);
// A song's three names as one document of the index.
QByteArray NamesDocument(const QByteArray& performer, const QByteArray& album,
                         const QByteArray& song);

// The words of a shown line or name that start with one of the typed words.
struct MarkedWords {
    int distinct = 0;                        // typed words found
    std::vector<std::pair<int, int>> marks;  // start and length of each word found
};
MarkedWords MarkWords(const QString& text, const QStringList& words);
