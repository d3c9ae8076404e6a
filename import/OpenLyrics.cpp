#include "import/OpenLyrics.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>

#include "import/ChordLines.h"
#include "import/PlainXml.h"

namespace {

const QString kNamespace = QStringLiteral("http://openlyrics.info/namespace/2009/song");

// A line break inside a text: LF, or CR when a character reference writes one.
bool HoldsLineBreak(QStringView text) {
    for (const QChar c : text)
        if (c == u'\n' || c == u'\r') return true;
    return false;
}

// A chord name stands in a chord line: a line break that a character reference put into an
// attribute becomes a space there.
QString OnOneLine(QString name) {
    return HoldsLineBreak(name) ? name.replace(u'\r', u' ').replace(u'\n', u' ') : name;
}

// The lines of one verse as they are read into its list: the current line grows until <br/>
// or </line>.
class VerseLines {
  public:
    static constexpr qsizetype kUsualLineLength = 80;

    explicit VerseLines(QStringList& lines) : lines_(lines) {}

    void text(QStringView text) {
        // A line is mostly written in a few pieces, between its chords.
        if (current_.lyric.isNull()) current_.lyric.reserve(kUsualLineLength);
        // Our own files hold no line break inside a line: a line break in the text is the
        // layout of a file written by hand or pretty-printed, and goes with the spaces around
        // it (one space stays between two words it separates). Lines end at <br/> and </line>.
        if (!HoldsLineBreak(text)) {
            current_.lyric += text;
            return;
        }
        const QString unified = text.toString().replace(u'\r', u'\n');
        QStringList words;
        for (const QStringView piece : QStringView(unified).split(u'\n'))
            if (!piece.trimmed().isEmpty()) words.append(piece.trimmed().toString());
        current_.lyric += words.join(u' ');
    }
    void chord(const QString& name) {
        if (!name.isEmpty()) current_.chords.append({current_.lyric.size(), name});
    }
    void endLine() {
        AppendUnfolded(current_, lines_);
        current_.lyric = QString();
        current_.chords.clear();
    }
    // The end of a <lines> element: what is left is a line, if anything is.
    void endLines() {
        if (!current_.lyric.isEmpty() || !current_.chords.isEmpty()) endLine();
    }

  private:
    ChordedLine current_;
    QStringList& lines_;
};

// Qt's reader, for every document the plain reader leaves to it, seen as the plain reader is
// seen: elements and text, a DTD or any fault refusing the file.
class QtXmlReader {
  public:
    explicit QtXmlReader(const QByteArray& bytes) : xml_(bytes) {}

    XmlToken next() {
        for (;;) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::DTD)
                throw SongFileRefused(QStringLiteral("файл XML объявляет DTD"));
            if (xml_.hasError())
                throw SongFileRefused(
                    QStringLiteral("файл XML повреждён (строка %1)").arg(xml_.lineNumber()));
            switch (token) {
                case QXmlStreamReader::StartElement:
                    return XmlToken::StartElement;
                case QXmlStreamReader::EndElement:
                    return XmlToken::EndElement;
                case QXmlStreamReader::Characters:
                    return XmlToken::Characters;
                case QXmlStreamReader::EndDocument:
                    return XmlToken::EndDocument;
                default:
                    continue;
            }
        }
    }
    QStringView name() const { return xml_.name(); }
    QStringView text() const { return xml_.text(); }
    QStringView attribute(QStringView name) const {
        return xml_.attributes().value(name.toString());
    }
    QStringView namespaceUri() const { return xml_.namespaceUri(); }

  private:
    QXmlStreamReader xml_;
};

// The attributes a <chord/> is written with: a name before 0.9, root, structure and bass since.
struct ChordMark {
    QStringView name, root, structure, bass;
};

// A chord mark read before, with the name it was given.
struct NamedChord {
    QString name, root, structure, bass;
    QString chord;

    explicit NamedChord(const ChordMark& m)
        : name(m.name.toString()),
          root(m.root.toString()),
          structure(m.structure.toString()),
          bass(m.bass.toString()),
          chord(OnOneLine(m.name.isEmpty() && !m.root.isEmpty()
                              ? OpenLyricsChordName(m.root, m.structure, m.bass)
                              : name)) {}
    // Compared for every chord of a song against each chord named before: the lengths first,
    // inline, as most marks differ in them or in their first letters.
    bool isWrittenAs(const ChordMark& m) const {
        return Same(root, m.root) && Same(structure, m.structure) && Same(bass, m.bass) &&
               Same(name, m.name);
    }
    static bool Same(const QString& a, QStringView b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
    }
};

struct Verse {
    QString name;
    QStringList lines;
};

template <class Xml>
class SongReader {
  public:
    explicit SongReader(const QByteArray& bytes) : xml_(bytes) {}

    // The song, its lines given to a SongText (SongLines, ScannedSongBuilder).
    template <class SongText>
    auto read(const QString& fileName) {
        readDocument();
        SongText song;
        giveLines([&](const QString& line) { song.appendLine(line); });
        return song.finish(songName(fileName));
    }

  private:
    void readDocument() {
        readRoot();
        for (XmlToken token; (token = xml_.next()) != XmlToken::EndDocument;) {
            if (token == XmlToken::EndElement && xml_.name() == u"verse") inVerse_ = false;
            if (token != XmlToken::StartElement) continue;
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
    }
    QString songName(const QString& fileName) const { return title_.isEmpty() ? fileName : title_; }
    void readRoot() {
        for (XmlToken token; (token = xml_.next()) != XmlToken::StartElement;)
            if (token == XmlToken::EndDocument)
                throw SongFileRefused(QStringLiteral("файл XML пуст"));
        if (xml_.name() != u"song" || xml_.namespaceUri() != kNamespace)
            throw SongFileRefused(QStringLiteral("это не песня OpenLyrics"));
    }
    // The text of the current element and of every element inside it.
    QString readText() {
        QString text;
        for (int depth = 1; depth > 0;) {
            const XmlToken token = xml_.next();
            if (token == XmlToken::StartElement) ++depth;
            if (token == XmlToken::EndElement) --depth;
            if (token == XmlToken::Characters) text += xml_.text();
        }
        return HoldsLineBreak(text) ? text.simplified() : text;
    }
    void startVerse() {
        verses_.append({xml_.attribute(u"name").toString(), {}});
        inVerse_ = true;
    }
    void readTitle() {
        const bool original = xml_.attribute(u"original") == u"true";
        const QString title = readText();
        if (title.isEmpty() || (titleIsOriginal_ && !title_.isEmpty())) return;
        if (title_.isEmpty() || original) title_ = title;
        titleIsOriginal_ = titleIsOriginal_ || original;
    }
    // One <lines> element, read token by token (nested formatting tags cannot run the
    // stack out).
    void readLines(QStringList& lines) {
        VerseLines verse(lines);
        for (int depth = 1; depth > 0;) {
            const XmlToken token = xml_.next();
            if (token == XmlToken::Characters) {
                verse.text(xml_.text());
            } else if (token == XmlToken::StartElement) {
                ++depth;
                if (xml_.name() == u"chord") verse.chord(chordName());
            } else if (token == XmlToken::EndElement) {
                --depth;
                if (xml_.name() == u"br" || xml_.name() == u"line") verse.endLine();
            }
        }
        verse.endLines();
    }
    // A song plays a few chords again and again: each is named once.
    QString chordName() {
        const ChordMark mark{xml_.attribute(u"name"), xml_.attribute(u"root"),
                             xml_.attribute(u"structure"), xml_.attribute(u"bass")};
        for (const NamedChord& known : chordNames_)
            if (known.isWrittenAs(mark)) return known.chord;
        chordNames_.append(NamedChord(mark));
        return chordNames_.back().chord;
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
    // The song's lines to `take`, verse by verse, an empty line between two verses.
    template <class Take>
    void giveLines(Take take) const {
        bool any = false;
        for (const Verse* verse : ordered()) {
            if (verse->lines.isEmpty()) continue;
            if (any) take(QString());
            for (const QString& line : verse->lines) take(line);
            any = true;
        }
    }

    Xml xml_;
    QList<NamedChord> chordNames_;
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

namespace {

// The song read by the plain reader, or by Qt's reader when the plain one leaves the document
// to it.
template <class Read>
auto ReadEitherWay(const QByteArray& bytes, Read read) {
    try {
        SongReader<PlainXmlReader> reader(bytes);
        return read(reader);
    } catch (const PlainXmlReader::NotPlain&) {
        SongReader<QtXmlReader> reader(bytes);
        return read(reader);
    }
}

}  // namespace

ReadSong ReadOpenLyrics(const QByteArray& bytes, const QString& fileName) {
    return ReadEitherWay(bytes,
                         [&](auto& reader) { return reader.template read<SongLines>(fileName); });
}

ScannedSong ReadOpenLyricsForScan(const QByteArray& bytes, const QString& fileName) {
    return ReadEitherWay(
        bytes, [&](auto& reader) { return reader.template read<ScannedSongBuilder>(fileName); });
}

ReadSong ReadOpenLyricsWithQtReader(const QByteArray& bytes, const QString& fileName) {
    return SongReader<QtXmlReader>(bytes).read<SongLines>(fileName);
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
