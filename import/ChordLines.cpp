#include "import/ChordLines.h"

#include <QHash>
#include <algorithm>

namespace {

// The chord words and figures a suffix is made of, longest first so that "maj" is not read as
// "m" followed by "aj". Written by hand: chord names have no parser in Qt or in Debian's C++
// libraries.
constexpr QStringView kSuffixWords[] = {u"maj", u"min", u"dim", u"aug", u"sus",
                                        u"add", u"m",   u"M",   u"°",   u"ø"};

bool IsRootLetter(QChar c) {
    return c >= u'A' && c <= u'H';
}

// The length of a root note ("A", "C#", "Bb") at the start of `text`, 0 when there is none.
qsizetype RootLength(QStringView text) {
    if (text.isEmpty() || !IsRootLetter(text[0])) return 0;
    return text.size() > 1 && (text[1] == u'#' || text[1] == u'b') ? 2 : 1;
}

// QStringView::startsWith without the call into Qt, which cost more than the comparison of
// these few characters: every chord of every song file read comes through here.
bool BeginsWith(QStringView text, QStringView word) {
    return text.size() >= word.size() && std::equal(word.begin(), word.end(), text.begin());
}

qsizetype SuffixWordLength(QStringView text) {
    for (const QStringView word : kSuffixWords)
        if (BeginsWith(text, word)) return word.size();
    const QChar c = text[0];
    if (c.isDigit() && c.unicode() < 0x80) return 1;
    return QStringView(u"#b+-()").contains(c) ? 1 : 0;
}

// One chord name of the usual suffix for an OpenLyrics structure formula; the name is what
// writers fold, so that reading it back gives the same name.
struct SuffixStructure {
    QStringView suffix;
    QStringView structure;
};
constexpr SuffixStructure kSuffixes[] = {
    {u"", u"3-5"},
    {u"m", u"m3-5"},
    {u"5", u"5"},
    {u"aug", u"3-a5"},
    {u"dim", u"m3-d5"},
    {u"7", u"3-5-m7"},
    {u"maj7", u"3-5-7"},
    {u"m7", u"m3-5-m7"},
    {u"dim7", u"m3-d5-d7"},
    {u"m7b5", u"m3-d5-m7"},
    {u"mmaj7", u"m3-5-7"},
    {u"maj7#5", u"3-a5-7"},
    {u"7b5", u"3-d5-m7"},
    {u"7#5", u"3-a5-m7"},
    {u"maj7b5", u"3-d5-7"},
    {u"6", u"3-5-6"},
    {u"m6", u"m3-5-6"},
    {u"9", u"3-5-m7-9"},
    {u"7b9", u"3-5-m7-m9"},
    {u"maj9", u"3-5-7-9"},
    {u"m9", u"m3-5-m7-9"},
    {u"mmaj9", u"m3-5-7-9"},
    {u"9#5", u"3-a5-m7-9"},
    {u"11", u"3-5-m7-9-11"},
    {u"maj11", u"3-5-7-9-11"},
    {u"m11", u"m3-5-m7-9-11"},
    {u"13", u"3-5-m7-9-11-13"},
    {u"maj13", u"3-5-7-9-11-13"},
    {u"m13", u"m3-5-m7-9-11-13"},
    {u"sus4", u"4-5"},
    {u"sus2", u"2-5"},
    {u"7sus4", u"4-5-m7"},
    {u"7sus2", u"2-5-m7"},
    {u"9sus4", u"4-5-m7-9"},
    {u"add9", u"3-5-9"},
    {u"madd9", u"m3-5-9"},
    {u"69", u"3-5-6-9"},
};

// The shortcodes of the OpenLyrics chord list with their formulas.
constexpr SuffixStructure kShortcodes[] = {
    {u"power", u"5"},
    {u"min", u"m3-5"},
    {u"aug", u"3-a5"},
    {u"dim", u"m3-d5"},
    {u"dom7", u"3-5-m7"},
    {u"maj7", u"3-5-7"},
    {u"min7", u"m3-5-m7"},
    {u"dim7", u"m3-d5-d7"},
    {u"halfdim7", u"m3-d5-m7"},
    {u"minmaj7", u"m3-5-7"},
    {u"augmaj7", u"3-a5-7"},
    {u"aug7", u"3-a5-m7"},
    {u"maj6", u"3-5-6"},
    {u"maj6b", u"3-5-m6"},
    {u"min6", u"m3-5-6"},
    {u"min6b", u"m3-5-m6"},
    {u"dom9", u"3-5-m7-9"},
    {u"dom9b", u"3-5-m7-m9"},
    {u"maj9", u"3-5-7-9"},
    {u"min9", u"m3-5-m7-9"},
    {u"minmaj9", u"m3-5-7-9"},
    {u"aug9", u"3-a5-m7-9"},
    {u"halfdim9", u"m3-d5-m7-9"},
    {u"sus4", u"4-5"},
    {u"sus2", u"2-5"},
    {u"add9", u"3-5-9"},
};

// The suffix of the chord name for each formula and shortcode of the OpenLyrics list that has
// one; a song reader asks this of every chord it reads.
const QHash<QStringView, QStringView>& SuffixOfStructure() {
    static const QHash<QStringView, QStringView> suffixes = [] {
        QHash<QStringView, QStringView> map;
        for (const SuffixStructure& s : kSuffixes)
            if (!map.contains(s.structure)) map.insert(s.structure, s.suffix);
        for (const SuffixStructure& s : kShortcodes)
            if (map.contains(s.structure)) map.insert(s.suffix, map.value(s.structure));
        return map;
    }();
    return suffixes;
}

// The formula of a shortcode of the OpenLyrics list; any other structure as it stands.
QStringView FormulaOf(QStringView structure) {
    for (const SuffixStructure& s : kShortcodes)
        if (structure == s.suffix) return s.structure;
    return structure;
}

// The chord line of chords placed at their columns, each at least one space after the one
// before.
QString ChordLineOf(const QList<PlacedChord>& chords) {
    QString line;
    line.reserve(chords.back().column + 8 * chords.size());
    for (const PlacedChord& chord : chords) PlaceChord(line, chord.column, chord.name);
    return line;
}

qsizetype TrimmedLength(QStringView text) {
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == u' ') --n;
    return n;
}

bool IsBlank(const QString& line) {
    return TrimmedLength(line) == 0;
}

QList<PlacedChord> ChordsOf(const QString& chordLine) {
    QList<PlacedChord> chords;
    for (qsizetype i = 0; i < chordLine.size();) {
        if (chordLine[i] == u' ') {
            ++i;
            continue;
        }
        const qsizetype end = chordLine.indexOf(u' ', i);
        const qsizetype stop = end < 0 ? chordLine.size() : end;
        chords.append({i, chordLine.mid(i, stop - i)});
        i = stop;
    }
    return chords;
}

}  // namespace

// The "/" is found with std::find: a chord name is a few characters, for which Qt's vectorised
// search costs more to set up than it saves.
bool IsChordName(QStringView name) {
    const QChar* const slash = std::find(name.begin(), name.end(), QChar(u'/'));
    const QStringView chord(name.begin(), slash);
    if (slash != name.end()) {
        const QStringView bass(slash + 1, name.end());
        if (bass.isEmpty() || RootLength(bass) != bass.size()) return false;
    }
    qsizetype at = RootLength(chord);
    if (at == 0) return false;
    while (at < chord.size()) {
        const qsizetype word = SuffixWordLength(chord.mid(at));
        if (word == 0) return false;
        at += word;
    }
    return true;
}

bool IsChordLine(QStringView line) {
    bool any = false;
    for (const QStringView token : line.split(u' ', Qt::SkipEmptyParts)) {
        if (!IsChordName(token)) return false;
        any = true;
    }
    return any;
}

// One resize for the spaces and the name together, rather than a resize and an append: a
// song file has thousands of chords.
void PlaceChord(QString& chordLine, qsizetype column, QStringView name) {
    if (!chordLine.isEmpty()) column = std::max(column, chordLine.size() + 1);
    const qsizetype spacesFrom = chordLine.size();
    chordLine.resize(column + name.size());
    QChar* const line = chordLine.data();
    std::fill(line + spacesFrom, line + column, QChar(u' '));
    std::copy(name.begin(), name.end(), line + column);
}

qsizetype LyricLengthUnderChords(QStringView lyric, qsizetype lastChordColumn) {
    const qsizetype trimmed = TrimmedLength(lyric);
    if (trimmed == 0) return 0;
    const bool padded = lastChordColumn >= trimmed;
    return padded ? trimmed : lyric.size();
}

void AppendUnfolded(const ChordedLine& line, QStringList& lines) {
    if (line.chords.isEmpty()) {
        lines.append(line.lyric);
        return;
    }
    lines.append(ChordLineOf(line.chords));
    const qsizetype length = LyricLengthUnderChords(line.lyric, line.chords.back().column);
    if (length == 0) return;
    lines.append(length < line.lyric.size() ? line.lyric.left(length) : line.lyric);
}

QStringList UnfoldChords(const ChordedLine& line) {
    QStringList lines;
    AppendUnfolded(line, lines);
    return lines;
}

QString LyricReachingChords(const ChordedLine& line) {
    QString lyric = line.lyric;
    for (const PlacedChord& chord : line.chords)
        if (chord.column > lyric.size()) lyric += QString(chord.column - lyric.size(), u' ');
    return lyric;
}

// A chord line is folded only where unfolding gives back exactly its lines; any other one
// stays a line of text, so that nothing is lost.
QList<ChordedLine> FoldChordLines(const QStringList& lines) {
    QList<ChordedLine> folded;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (!IsChordLine(line)) {
            folded.append({line, {}});
            continue;
        }
        const bool hasLyric =
            i + 1 < lines.size() && !IsBlank(lines[i + 1]) && !IsChordLine(lines[i + 1]);
        ChordedLine candidate{hasLyric ? lines[i + 1] : QString(), ChordsOf(line)};
        const QStringList original = hasLyric ? QStringList{line, lines[i + 1]} : QStringList{line};
        if (UnfoldChords(candidate) != original) {
            folded.append({line, {}});
            continue;
        }
        folded.append(std::move(candidate));
        if (hasLyric) ++i;
    }
    return folded;
}

std::optional<OpenLyricsChord> ToOpenLyricsChord(QStringView name) {
    if (!IsChordName(name) || name.startsWith(u'H')) return std::nullopt;
    const qsizetype slash = name.indexOf(u'/');
    OpenLyricsChord chord;
    const QStringView body = slash < 0 ? name : name.left(slash);
    if (slash >= 0) {
        chord.bass = name.mid(slash + 1).toString();
        if (chord.bass.startsWith(u'H')) return std::nullopt;
    }
    const qsizetype root = RootLength(body);
    chord.root = body.left(root).toString();
    const QStringView suffix = body.mid(root);
    for (const SuffixStructure& s : kSuffixes) {
        if (suffix != s.suffix) continue;
        chord.structure = suffix.isEmpty() ? QString() : s.structure.toString();
        return chord;
    }
    return std::nullopt;
}

QString OpenLyricsChordName(QStringView root, QStringView structure, QStringView bass) {
    const auto known = SuffixOfStructure().constFind(structure);
    QString name;
    name.reserve(root.size() + structure.size() + bass.size() + 8);
    name += root;
    if (known != SuffixOfStructure().constEnd()) {
        name += *known;
    } else if (!structure.isEmpty()) {
        name += u'(';
        name += FormulaOf(structure);
        name += u')';
    }
    if (!bass.isEmpty()) {
        name += u'/';
        name += bass;
    }
    return name;
}

QString OpenLyricsChordName(const OpenLyricsChord& chord) {
    return OpenLyricsChordName(chord.root, chord.structure, chord.bass);
}
