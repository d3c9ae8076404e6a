#include "import/ChordPro.h"

#include <utility>

#include "import/ChordLines.h"
#include "import/LyricText.h"

namespace {

const QString kUnbalancedBracket = QStringLiteral("в строке %1 не закрыта скобка «%2»");

struct Directive {
    QString name;  // in lower case
    QString value;
};

Directive ParseDirective(QStringView trimmed) {
    const QString inner = trimmed.mid(1, trimmed.size() - 2).toString();
    qsizetype split = 0;
    while (split < inner.size() && inner[split] != u':' && !inner[split].isSpace()) ++split;
    QString value = inner.mid(split);
    if (value.startsWith(u':')) value.remove(0, 1);
    return {inner.left(split).trimmed().toLower(), value.trimmed()};
}

bool IsOneOf(const QString& name, std::initializer_list<QStringView> names) {
    for (const QStringView n : names)
        if (name == n) return true;
    return false;
}

class SongCollector {
  public:
    explicit SongCollector(const QString& fileName) : fileName_(fileName) {}

    void directive(const Directive& d) {
        if (IsOneOf(d.name, {u"title", u"t"})) {
            if (title_.isEmpty()) title_ = d.value;
        } else if (IsOneOf(d.name, {u"comment", u"c", u"comment_italic", u"ci", u"comment_box",
                                    u"cb", u"highlight"})) {
            text(d.value);
        } else if (d.name.startsWith(QStringLiteral("start_of_")) ||
                   IsOneOf(d.name, {u"soc", u"sov", u"sob", u"sot", u"sog"})) {
            separate();
        } else if (d.name.startsWith(QStringLiteral("end_of_")) ||
                   IsOneOf(d.name, {u"eoc", u"eov", u"eob", u"eot", u"eog"})) {
            separateNext_ = true;
        } else if (IsOneOf(d.name, {u"new_song", u"ns"})) {
            finishSong();
        }
    }
    // Empty lines before the text are the file's layout, not the song's; an empty line where
    // a section has just ended is the break that ends it.
    void text(QString line) {
        if (line.isEmpty() && (lines_.isEmpty() || separateNext_)) return;
        if (separateNext_) separate();
        lines_.append(std::move(line));
    }
    QList<ReadSong> finish() {
        finishSong();
        return std::move(songs_);
    }

  private:
    void separate() {
        separateNext_ = false;
        if (!lines_.isEmpty() && !lines_.back().isEmpty()) lines_.append(QString());
    }
    // Empty lines after the text are layout too.
    void finishSong() {
        while (!lines_.isEmpty() && lines_.back().isEmpty()) lines_.removeLast();
        if (!title_.isEmpty() || !lines_.isEmpty())
            songs_.append({title_.isEmpty() ? fileName_ : title_, std::exchange(lines_, {})});
        title_.clear();
        separateNext_ = false;
    }

    QString fileName_;
    QString title_;
    QStringList lines_;
    bool separateNext_ = false;
    QList<ReadSong> songs_;
};

// A lyric line as its chord line and lyric line, the bracketed chords taken out of the lyric
// and each put on the chord line at the column of the character it stood before; a bracket
// whose content is no chord name is text. Both lines are built in one pass over the line, as
// UnfoldChords would build them from the ChordedLine: a file holds thousands of such lines.
void ReadLyricLine(QStringView line, qsizetype lineNumber, SongCollector& songs) {
    if (!line.contains(u'[')) {
        songs.text(line.toString());
        return;
    }
    QString lyric, chordLine;
    lyric.reserve(line.size());
    chordLine.reserve(line.size());
    qsizetype lastChordColumn = 0;
    for (qsizetype at = 0; at < line.size();) {
        const qsizetype open = line.indexOf(u'[', at);
        if (open < 0) {
            lyric += line.sliced(at);
            break;
        }
        lyric += line.sliced(at, open - at);
        const qsizetype close = line.indexOf(u']', open);
        if (close < 0)
            throw SongFileRefused(kUnbalancedBracket.arg(lineNumber).arg(QStringLiteral("[")));
        const QStringView inside = line.sliced(open + 1, close - open - 1);
        if (IsChordName(inside)) {
            lastChordColumn = lyric.size();
            PlaceChord(chordLine, lastChordColumn, inside);
        } else {
            lyric += line.sliced(open, close - open + 1);
        }
        at = close + 1;
    }
    if (chordLine.isEmpty()) {
        songs.text(std::move(lyric));
        return;
    }
    songs.text(std::move(chordLine));
    const qsizetype underChords = LyricLengthUnderChords(lyric, lastChordColumn);
    if (underChords == 0) return;
    lyric.truncate(underChords);
    songs.text(std::move(lyric));
}

// The text with each chorded line's chords put in brackets at their columns. A line of text
// that a reader would take for a directive or a remark is written as a {comment:}, which gives
// it back as text.
QString ChordProLine(const ChordedLine& line) {
    const QString trimmed = line.lyric.trimmed();
    if (line.chords.isEmpty() && (trimmed.startsWith(u'{') || trimmed.startsWith(u'#')))
        return QStringLiteral("{comment: ") + line.lyric + u'}';
    const QString lyric = LyricReachingChords(line);
    QString out;
    qsizetype at = 0;
    for (const PlacedChord& chord : line.chords) {
        out += lyric.mid(at, chord.column - at) + u'[' + chord.name + u']';
        at = chord.column;
    }
    return out + lyric.mid(at);
}

}  // namespace

QList<ReadSong> ReadChordPro(const QByteArray& bytes, const QString& fileName) {
    SongCollector songs(fileName);
    const QString text = LyricFileText(bytes);
    TextLineReader lines(text);
    qsizetype lineNumber = 0;
    for (QStringView line; lines.next(line);) {
        ++lineNumber;
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u'#')) continue;
        if (trimmed.startsWith(u'{')) {
            if (!trimmed.endsWith(u'}'))
                throw SongFileRefused(kUnbalancedBracket.arg(lineNumber).arg(QStringLiteral("{")));
            songs.directive(ParseDirective(trimmed));
            continue;
        }
        ReadLyricLine(line, lineNumber, songs);
    }
    return songs.finish();
}

QByteArray WriteChordPro(const QString& performer, const QString& album, const ReadSong& song) {
    QString file = QStringLiteral("{title: ") + song.name + QStringLiteral("}\n{artist: ") +
                   performer + QStringLiteral("}\n{album: ") + album + QStringLiteral("}\n");
    for (const ChordedLine& line : FoldChordLines(song.lines)) file += ChordProLine(line) + u'\n';
    return file.toUtf8();
}
