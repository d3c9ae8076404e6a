#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

#include "store/RecordFile.h"

// Text of a lyric file made ready for the catalogue: Windows-1251 lines, kept as the text file
// stores them (each line followed by CR LF), so a song goes into the text file as one piece. A
// character the code page cannot hold stands as "?" in its line and is listed in
// `unencodable`, so the caller can tell the user; nothing is dropped without a word.
struct CatalogueText {
    QByteArray written;
    QString unencodable;  // each distinct character once, in order of first appearance

    Lines lines() const { return RecordLines(written).toList(); }
};

// Builds a CatalogueText one UTF-16 unit or one Windows-1251 byte at a time, without a detour
// through QString: the scanner converts thousands of files at once. The bytes go into a buffer
// of its own kept ahead of the text, so a byte costs a store, and the finished text takes the
// buffer over without a copy.
class CatalogueLineBuilder {
  public:
    // Room for `bytes` bytes of text at once, where the caller knows about how much comes.
    void reserve(qsizetype bytes) {
        if (buffer_.size() < bytes) buffer_.resize(bytes);
    }
    // A byte that already is Windows-1251.
    void appendByte(char b) {
        if (highSurrogate_ != 0) flushSurrogate();
        *room(1) = b;
        ++size_;
    }
    // Where a run of at most `most` Windows-1251 bytes can be written directly; endRun takes
    // the end of what was written.
    char* beginRun(qsizetype most) {
        if (highSurrogate_ != 0) flushSurrogate();
        return room(most);
    }
    void endRun(const char* end) { size_ = end - buffer_.constData(); }
    void appendUnit(char16_t unit);
    // A run of characters, as appendUnit one by one would append them.
    void appendText(QStringView text);
    // Ends the current line, empty or not.
    void endLine();
    // A line of text, ended; a line end or Ctrl-Z inside it ends it there, as the catalogue's
    // line reading would.
    void appendLine(QStringView line);
    bool lineIsEmpty() const { return size_ == lineStart_ && highSurrogate_ == 0; }
    // True between the halves of a surrogate pair.
    bool awaitsLowSurrogate() const { return highSurrogate_ != 0; }
    // The lines ended so far.
    CatalogueText finish();

  private:
    char* room(qsizetype bytes) {
        if (buffer_.size() - size_ < bytes) grow(bytes);
        return buffer_.data() + size_;
    }
    void grow(qsizetype bytes);
    void flushSurrogate();
    void unencodable(const QString& character);

    QByteArray buffer_;  // its size is the room; the text is its first size_ bytes
    qsizetype size_ = 0;
    qsizetype lineStart_ = 0;
    char16_t highSurrogate_ = 0;
    QString unencodable_;
};

// One line of Unicode text, encoded for the catalogue. Only characters are encoded, as in the
// builder: text that holds a line end or Ctrl-Z has to be split into lines first.
CatalogueText CatalogueLine(QStringView line);

// A plain lyric file, split by the line reading rules of the catalogue. A file in another
// encoding than the catalogue's (see DetectLyricEncoding) is converted; any other file is taken
// byte for byte, as lyric files written on Windows are already in the catalogue's code page.
CatalogueText PlainLyricText(const QByteArray& bytes);

// Lines of Unicode text, encoded for the catalogue. A line end or Ctrl-Z inside a line ends it
// there, as the catalogue's line reading would.
CatalogueText CatalogueLines(const QStringList& lines);

// Bytes that are valid UTF-8 holding no U+FFFD, as text (a leading mark dropped); nothing for
// any other bytes, which need QStringDecoder to tell a damaged sequence from that character.
std::optional<QString> PlainUtf8Text(const QByteArray& bytes);

// The text of a song file that should be UTF-8 (ChordPro, LRC): UTF-8 when it is, its mark
// dropped, else in the encoding the lyric file detection finds.
QString LyricFileText(const QByteArray& bytes);

// Text split at its line ends (LF, CR LF or a lone CR); a line end at the very end starts no
// further line.
QStringList TextLines(const QString& text);

// The lines of TextLines one by one, as views into the text: a reader that only looks at most
// lines once saves copying the text and each line. Qt splits at one separator only, which
// would need the line ends made alike first, in a copy of the text.
class TextLineReader {
  public:
    explicit TextLineReader(QStringView text) : text_(text) {}
    // The next line, in `line`; false after the last one.
    bool next(QStringView& line);

  private:
    qsizetype nextFrom(QChar lineEnd, qsizetype& found) const;

    QStringView text_;
    qsizetype at_ = 0;
    // Where the next LF and the next CR are (the text's size when there is none). Each is
    // looked for again only once the reading has passed it: the text is searched once for
    // each, by Qt's vectorised search, rather than character by character for both.
    qsizetype nextLf_ = -1;
    qsizetype nextCr_ = -1;
};
