#include "import/OpenLyrics.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "import/ChordLines.h"

namespace {

const QString kNamespace = QStringLiteral("http://openlyrics.info/namespace/2009/song");

// The lines of one verse as they are read: the current line grows until <br/> or </line>.
class VerseLines {
  public:
    void text(QStringView text) {
        // Our own files hold no line break inside a line: a line break in the text is the
        // layout of a file written by hand or pretty-printed, and goes with the spaces around
        // it (one space stays between two words it separates). Lines end at <br/> and </line>.
        if (!text.contains(u'\n')) {
            current_.lyric += text;
            return;
        }
        QStringList words;
        for (const QStringView piece : text.split(u'\n'))
            if (!piece.trimmed().isEmpty()) words.append(piece.trimmed().toString());
        current_.lyric += words.join(u' ');
    }
    void chord(const QString& name) {
        if (!name.isEmpty()) current_.chords.append({current_.lyric.size(), name});
    }
    void endLine() {
        lines_ += UnfoldChords(current_);
        current_ = {};
    }
    // The end of a <lines> element: what is left is a line, if anything is.
    void endLines() {
        if (!current_.lyric.isEmpty() || !current_.chords.isEmpty()) endLine();
    }
    QStringList take() { return std::exchange(lines_, {}); }

  private:
    ChordedLine current_;
    QStringList lines_;
};

QString ChordNameOf(const QXmlStreamAttributes& attributes) {
    const QString name = attributes.value(QStringLiteral("name")).toString();
    if (!name.isEmpty()) return name;
    const QString root = attributes.value(QStringLiteral("root")).toString();
    if (root.isEmpty()) return {};
    return OpenLyricsChordName({root, attributes.value(QStringLiteral("structure")).toString(),
                                attributes.value(QStringLiteral("bass")).toString()});
}

struct Verse {
    QString name;
    QStringList lines;
};

class SongReader {
  public:
    explicit SongReader(const QByteArray& bytes) : xml_(bytes) {}

    ReadSong read(const QString& fileName) {
        readRoot();
        while (next() != QXmlStreamReader::EndDocument) {
            if (xml_.isEndElement() && xml_.name() == u"verse") inVerse_ = false;
            if (!xml_.isStartElement()) continue;
            const QStringView name = xml_.name();
            if (name == u"title")
                readTitle();
            else if (name == u"verseOrder")
                order_ = readText().split(u' ', Qt::SkipEmptyParts);
            else if (name == u"verse")
                startVerse();
            else if (name == u"lines" && inVerse_)
                readLines(verses_.back().lines);
        }
        return {title_.isEmpty() ? fileName : title_, text()};
    }

  private:
    QXmlStreamReader::TokenType next() {
        const QXmlStreamReader::TokenType token = xml_.readNext();
        if (token == QXmlStreamReader::DTD)
            throw SongFileRefused(QStringLiteral("файл XML объявляет DTD"));
        if (xml_.hasError())
            throw SongFileRefused(
                QStringLiteral("файл XML повреждён (строка %1)").arg(xml_.lineNumber()));
        return token;
    }
    void readRoot() {
        while (next() != QXmlStreamReader::StartElement) {
            if (xml_.atEnd()) throw SongFileRefused(QStringLiteral("файл XML пуст"));
        }
        if (xml_.name() != u"song" || xml_.namespaceUri() != kNamespace)
            throw SongFileRefused(QStringLiteral("это не песня OpenLyrics"));
    }
    // The text of the current element and of every element inside it.
    QString readText() {
        QString text;
        for (int depth = 1; depth > 0;) {
            const QXmlStreamReader::TokenType token = next();
            if (token == QXmlStreamReader::StartElement) ++depth;
            if (token == QXmlStreamReader::EndElement) --depth;
            if (token == QXmlStreamReader::Characters) text += xml_.text();
        }
        return text.contains(u'\n') ? text.simplified() : text;
    }
    void startVerse() {
        verses_.append({xml_.attributes().value(QStringLiteral("name")).toString(), {}});
        inVerse_ = true;
    }
    void readTitle() {
        const bool original = xml_.attributes().value(QStringLiteral("original")) == u"true";
        const QString title = readText();
        if (title.isEmpty() || (titleIsOriginal_ && !title_.isEmpty())) return;
        if (title_.isEmpty() || original) title_ = title;
        titleIsOriginal_ = titleIsOriginal_ || original;
    }
    // One <lines> element, read token by token (nested formatting tags cannot run the
    // stack out).
    void readLines(QStringList& lines) {
        VerseLines verse;
        for (int depth = 1; depth > 0;) {
            const QXmlStreamReader::TokenType token = next();
            if (token == QXmlStreamReader::Characters) {
                verse.text(xml_.text());
            } else if (token == QXmlStreamReader::StartElement) {
                ++depth;
                if (xml_.name() == u"chord") verse.chord(ChordNameOf(xml_.attributes()));
            } else if (token == QXmlStreamReader::EndElement) {
                --depth;
                if (xml_.name() == u"br" || xml_.name() == u"line") verse.endLine();
            }
        }
        verse.endLines();
        lines += verse.take();
    }
    const Verse* verseNamed(const QString& name) const {
        for (const QString& wanted : {name, name + u'1'})
            for (const Verse& v : verses_)
                if (v.name == wanted) return &v;
        return nullptr;
    }
    QList<const Verse*> ordered() const {
        QList<const Verse*> chosen;
        for (const QString& name : order_)
            if (const Verse* v = verseNamed(name)) chosen.append(v);
        if (chosen.isEmpty())
            for (const Verse& v : verses_) chosen.append(&v);
        return chosen;
    }
    QStringList text() const {
        QStringList lines;
        for (const Verse* verse : ordered()) {
            if (verse->lines.isEmpty()) continue;
            if (!lines.isEmpty()) lines.append(QString());
            lines += verse->lines;
        }
        return lines;
    }

    QXmlStreamReader xml_;
    QString title_;
    bool titleIsOriginal_ = false;
    QStringList order_;
    QList<Verse> verses_;
    bool inVerse_ = false;  // instruments have <lines> of their own
};

// XML 1.0 holds no control character but tab and the line ends, and no U+FFFE, U+FFFF or lone
// surrogate; a catalogue text may (a stray byte of an old file). Such a character is written
// as U+FFFD, so that the file stays well-formed.
QString XmlText(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool pair =
            c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair) {
            ++i;
        } else if ((c.unicode() < 0x20 && c != u'\t') || c.isSurrogate() || c.unicode() >= 0xFFFE) {
            text[i] = QChar::ReplacementCharacter;
        }
    }
    return text;
}

// The verses of a text: its runs of lines between empty lines.
QList<QStringList> Verses(const QStringList& lines) {
    QList<QStringList> verses;
    QStringList verse;
    for (const QString& line : lines) {
        if (!line.isEmpty()) {
            verse.append(line);
        } else if (!verse.isEmpty()) {
            verses.append(verse);
            verse.clear();
        }
    }
    if (!verse.isEmpty() || verses.isEmpty()) verses.append(verse);
    return verses;
}

std::optional<QList<OpenLyricsChord>> OpenLyricsChords(const QList<PlacedChord>& chords) {
    QList<OpenLyricsChord> converted;
    for (const PlacedChord& chord : chords) {
        const std::optional<OpenLyricsChord> c = ToOpenLyricsChord(chord.name);
        if (!c) return std::nullopt;
        converted.append(*c);
    }
    return converted;
}

void WriteChord(QXmlStreamWriter& xml, const OpenLyricsChord& chord) {
    xml.writeEmptyElement(QStringLiteral("chord"));
    xml.writeAttribute(QStringLiteral("root"), chord.root);
    if (!chord.structure.isEmpty())
        xml.writeAttribute(QStringLiteral("structure"), chord.structure);
    if (!chord.bass.isEmpty()) xml.writeAttribute(QStringLiteral("bass"), chord.bass);
}

class LinesWriter {
  public:
    explicit LinesWriter(QXmlStreamWriter& xml) : xml_(xml) {}
    void write(const ChordedLine& line) {
        const auto chords = OpenLyricsChords(line.chords);
        if (!chords) {
            for (const QString& text : UnfoldChords(line)) plain(text);
            return;
        }
        breakLine();
        const QString lyric = LyricReachingChords(line);
        qsizetype at = 0;
        for (qsizetype i = 0; i < line.chords.size(); ++i) {
            const qsizetype column = line.chords[i].column;
            if (column > at) xml_.writeCharacters(XmlText(lyric.mid(at, column - at)));
            WriteChord(xml_, (*chords)[i]);
            at = column;
        }
        if (at < lyric.size()) xml_.writeCharacters(XmlText(lyric.mid(at)));
    }

  private:
    void plain(const QString& text) {
        breakLine();
        xml_.writeCharacters(XmlText(text));
    }
    void breakLine() {
        if (started_) xml_.writeEmptyElement(QStringLiteral("br"));
        started_ = true;
    }

    QXmlStreamWriter& xml_;
    bool started_ = false;
};

}  // namespace

bool IsOpenLyricsDocument(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement)
            return xml.name() == u"song" && xml.namespaceUri() == kNamespace;
        if (token == QXmlStreamReader::DTD) return false;
    }
    return false;
}

ReadSong ReadOpenLyrics(const QByteArray& bytes, const QString& fileName) {
    return SongReader(bytes).read(fileName);
}

QByteArray WriteOpenLyrics(const ReadSong& song, const SongbookEntry& entry,
                           const QDateTime& modified) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    const auto newLine = [&] { xml.writeCharacters(QStringLiteral("\n")); };
    xml.writeStartDocument();
    newLine();
    xml.writeDefaultNamespace(kNamespace);
    xml.writeStartElement(QStringLiteral("song"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("0.9"));
    xml.writeAttribute(QStringLiteral("createdIn"), QStringLiteral("Cantoria " CANTORIA_VERSION));
    xml.writeAttribute(QStringLiteral("modifiedDate"), modified.toString(Qt::ISODate));
    newLine();
    xml.writeStartElement(QStringLiteral("properties"));
    newLine();
    xml.writeStartElement(QStringLiteral("titles"));
    xml.writeTextElement(QStringLiteral("title"), XmlText(song.name));
    xml.writeEndElement();
    newLine();
    xml.writeStartElement(QStringLiteral("authors"));
    xml.writeTextElement(QStringLiteral("author"), XmlText(entry.performer));
    xml.writeEndElement();
    newLine();
    xml.writeStartElement(QStringLiteral("songbooks"));
    xml.writeEmptyElement(QStringLiteral("songbook"));
    xml.writeAttribute(QStringLiteral("name"), XmlText(entry.album));
    xml.writeAttribute(QStringLiteral("entry"), QString::number(entry.number));
    xml.writeEndElement();
    newLine();
    xml.writeEndElement();  // properties
    newLine();
    xml.writeStartElement(QStringLiteral("lyrics"));
    newLine();
    int number = 0;
    for (const QStringList& verse : Verses(song.lines)) {
        xml.writeStartElement(QStringLiteral("verse"));
        xml.writeAttribute(QStringLiteral("name"), QStringLiteral("v%1").arg(++number));
        xml.writeStartElement(QStringLiteral("lines"));
        LinesWriter lines(xml);
        for (const ChordedLine& line : FoldChordLines(verse)) lines.write(line);
        xml.writeEndElement();
        xml.writeEndElement();
        newLine();
    }
    xml.writeEndElement();  // lyrics
    newLine();
    xml.writeEndElement();  // song
    xml.writeEndDocument();
    return bytes;
}
