#include "import/ChordPro.h"

#include <algorithm>
#include <utility>

#include "import/ChordLines.h"
#include "import/LyricText.h"

namespace {

const QString kUnbalancedBracket = QStringLiteral("в строке %1 не закрыта скобка «%2»");

struct Directive {
    QString name;       // in lower case
    QStringView value;  // a part of the line
};

// A line that starts with "{" once trimmed; it has to end with "}".
Directive ParseDirective(QStringView trimmed, qsizetype lineNumber) {
    if (!trimmed.endsWith(u'}'))
        throw SongFileRefused(kUnbalancedBracket.arg(lineNumber).arg(QStringLiteral("{")));
    const QStringView inner = trimmed.sliced(1, trimmed.size() - 2);
    qsizetype split = 0;
    while (split < inner.size() && inner[split] != u':' && !inner[split].isSpace()) ++split;
    QStringView value = inner.sliced(split);
    if (value.startsWith(u':')) value = value.sliced(1);
    return {inner.first(split).trimmed().toString().toLower(), value.trimmed()};
}

bool IsOneOf(const QString& name, std::initializer_list<QStringView> names) {
    for (const QStringView n : names)
        if (name == n) return true;
    return false;
}

// A lyric line as its chord line and its lyric: the bracketed chords taken out of the lyric,
// each put on the chord line at the column of the character it stood before; a bracket whose
// content is no chord name is text. Both are built in one pass over the line, by the rules of
// UnfoldChords, and in buffers kept from line to line: a file holds thousands of lyric lines,
// and the songs only copy what they keep.
class LyricLineSplitter {
  public:
    // The brackets are found with std::find and the lyric copied into room for the whole line
    // (it is never longer), not with QStringView::indexOf and QString::append: the text between
    // brackets is a few characters, for which those calls cost more than the work.
    void split(QStringView line, qsizetype lineNumber) {
        chordLine_.truncate(0);
        lastChordColumn_ = 0;
        lyric_.resize(line.size());
        lyricEnd_ = lyric_.data();
        const QChar* const end = line.end();
        for (const QChar* at = line.begin();;) {
            const QChar* const open = std::find(at, end, QChar(u'['));
            appendLyric(at, open);
            if (open == end) break;
            const QChar* const close = std::find(open, end, QChar(u']'));
            if (close == end)
                throw SongFileRefused(kUnbalancedBracket.arg(lineNumber).arg(QStringLiteral("[")));
            chordOrText(open, close + 1);
            at = close + 1;
        }
        lyric_.truncate(lyricLength());
    }
    // Empty when the line held no chord.
    QStringView chordLine() const { return chordLine_; }
    // The lyric as it stands under the chord line; empty when it is blank.
    QStringView lyricUnderChords() const {
        return QStringView(lyric_).first(LyricLengthUnderChords(lyric_, lastChordColumn_));
    }
    QStringView lyric() const { return lyric_; }

  private:
    void appendLyric(const QChar* from, const QChar* to) {
        lyricEnd_ = std::copy(from, to, lyricEnd_);
    }
    qsizetype lyricLength() const { return lyricEnd_ - lyric_.constData(); }
    void chordOrText(const QChar* bracketed, const QChar* end) {
        const QStringView inside(bracketed + 1, end - 1);
        if (!IsChordName(inside)) {
            appendLyric(bracketed, end);
            return;
        }
        lastChordColumn_ = lyricLength();
        PlaceChord(chordLine_, lastChordColumn_, inside);
    }

    // truncate(), not clear(): the buffers keep their room for the next line.
    QString chordLine_;
    QString lyric_;
    QChar* lyricEnd_ = nullptr;  // while splitting, in lyric_'s room for the whole line
    qsizetype lastChordColumn_ = 0;
};

// The songs of a file, whose lines go into a SongText each: SongLines for ReadChordPro,
// ScannedSongBuilder for the scanner.
template <typename SongText>
class SongCollector {
  public:
    using Song = decltype(std::declval<SongText&>().finish(QString()));

    explicit SongCollector(const QString& fileName) : fileName_(fileName) {}

    void directive(const Directive& d) {
        if (IsOneOf(d.name, {u"title", u"t"})) {
            if (title_.isEmpty()) title_ = d.value.toString();
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
    // a section has just ended is the break that ends it. Empty lines wait for a line of text:
    // those after the last one are layout too.
    void text(QStringView line) {
        if (line.isEmpty()) {
            if (hasText_ && !separateNext_) ++waitingEmptyLines_;
            return;
        }
        if (separateNext_) separate();
        for (; waitingEmptyLines_ > 0; --waitingEmptyLines_) text_.appendLine(QStringView());
        text_.appendLine(line);
        hasText_ = true;
    }
    QList<Song> finish() {
        finishSong();
        return std::move(songs_);
    }

  private:
    void separate() {
        separateNext_ = false;
        if (hasText_ && waitingEmptyLines_ == 0) waitingEmptyLines_ = 1;
    }
    void finishSong() {
        if (!title_.isEmpty() || hasText_)
            songs_.append(text_.finish(title_.isEmpty() ? fileName_ : title_));
        title_.clear();
        hasText_ = false;
        waitingEmptyLines_ = 0;
        separateNext_ = false;
    }

    QString fileName_;
    QString title_;
    SongText text_;
    bool hasText_ = false;
    qsizetype waitingEmptyLines_ = 0;
    bool separateNext_ = false;
    QList<Song> songs_;
};

// A lyric line's lines in the song: the line as it stands, or its chord line and the lyric
// under it.
template <typename SongText>
void AddLyricLine(QStringView line, qsizetype lineNumber, LyricLineSplitter& splitter,
                  SongCollector<SongText>& songs) {
    if (!line.contains(u'[')) {
        songs.text(line);
        return;
    }
    splitter.split(line, lineNumber);
    if (splitter.chordLine().isEmpty()) {
        songs.text(splitter.lyric());
        return;
    }
    songs.text(splitter.chordLine());
    // A blank lyric gives no line, not an empty one.
    if (!splitter.lyricUnderChords().isEmpty()) songs.text(splitter.lyricUnderChords());
}

template <typename SongText>
QList<typename SongCollector<SongText>::Song> ReadSongs(const QByteArray& bytes,
                                                        const QString& fileName) {
    SongCollector<SongText> songs(fileName);
    LyricLineSplitter splitter;
    const QString text = LyricFileText(bytes);
    TextLineReader lines(text);
    qsizetype lineNumber = 0;
    for (QStringView line; lines.next(line);) {
        ++lineNumber;
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u'#')) continue;
        if (trimmed.startsWith(u'{'))
            songs.directive(ParseDirective(trimmed, lineNumber));
        else
            AddLyricLine(line, lineNumber, splitter, songs);
    }
    return songs.finish();
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
    return ReadSongs<SongLines>(bytes, fileName);
}

QList<ScannedSong> ReadChordProForScan(const QByteArray& bytes, const QString& fileName) {
    return ReadSongs<ScannedSongBuilder>(bytes, fileName);
}

QByteArray WriteChordPro(const QString& performer, const QString& album, const ReadSong& song) {
    QString file = QStringLiteral("{title: ") + song.name + QStringLiteral("}\n{artist: ") +
                   performer + QStringLiteral("}\n{album: ") + album + QStringLiteral("}\n");
    for (const ChordedLine& line : FoldChordLines(song.lines)) file += ChordProLine(line) + u'\n';
    return file.toUtf8();
}
