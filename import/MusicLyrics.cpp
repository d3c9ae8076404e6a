#include "import/MusicLyrics.h"

#include <taglib/flacfile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/tiostream.h>
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>

#include <QRegularExpression>
#include <algorithm>
#include <memory>
#include <optional>

#include "import/LyricText.h"
#include "import/SongFormats.h"
#include "store/FileIo.h"
#include "store/StoreError.h"

namespace {

const QString kLrc = QStringLiteral(".lrc");

bool EndsWith(const QString& name, const QString& extension) {
    return name.endsWith(extension, Qt::CaseInsensitive);
}

constexpr TagLib::AudioProperties::ReadStyle kFast = TagLib::AudioProperties::Fast;

// A music file as TagLib reads it: through the scan's open folder, in the pieces TagLib asks
// for. TagLib's own FileStream opens the path again and moves through the file with stdio
// seeks, several system calls for every piece; its in-memory stream would read the whole audio.
class FolderFileStream : public TagLib::IOStream {
  public:
    FolderFileStream(const fileio::OpenFolder& folder, const QString& fileName)
        : reader_(folder.openPieces(fileName)), name_(fileName.toUtf8()) {}

    TagLib::FileName name() const override { return name_.constData(); }
    // TagLib asks for many small pieces near the start and the end of the file: each read
    // takes 64 KB at once, and the pieces within it come from memory. A piece that cannot be
    // read ends the file for TagLib; the file is then refused.
    TagLib::ByteVector readBlock(unsigned long length) override {
        // A length read from a damaged header can be anything: no more than the file holds.
        const qint64 left = std::max<qint64>(0, reader_->size() - at_);
        const qint64 wanted = std::min<qint64>(qint64(length), left);
        if (at_ < windowAt_ || at_ + wanted > windowAt_ + window_.size()) {
            try {
                window_ =
                    reader_->readAt(at_, qsizetype(std::min(std::max(wanted, kWindow), left)));
            } catch (const StoreError&) {
                failed_ = true;
                window_.clear();
            }
            windowAt_ = at_;
        }
        const qint64 from = at_ - windowAt_;
        const qint64 size = std::clamp<qint64>(window_.size() - from, 0, wanted);
        at_ += size;
        return TagLib::ByteVector(window_.constData() + from, unsigned(size));
    }
    bool failed() const { return failed_; }
    // Read only: TagLib writes nothing while it reads tags.
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return true; }
    void seek(long offset, Position from) override {
        const qint64 base = from == Beginning ? 0 : from == Current ? at_ : reader_->size();
        at_ = std::max<qint64>(0, base + offset);
    }
    long tell() const override { return long(at_); }
    long length() override { return long(reader_->size()); }
    void truncate(long) override {}

  private:
    std::unique_ptr<fileio::PieceReader> reader_;
    static constexpr qint64 kWindow = 64 * 1024;
    QByteArray name_;
    qint64 at_ = 0;
    QByteArray window_;
    qint64 windowAt_ = 0;
    bool failed_ = false;
};

// The TagLib reader of the file's kind, with the audio's properties: a file in which TagLib
// finds no audio at all is damaged (or of another kind), whatever tags it may still hold.
std::unique_ptr<TagLib::File> OpenAudio(const QString& fileName, TagLib::IOStream* stream) {
    if (EndsWith(fileName, QStringLiteral(".mp3")))
        return std::make_unique<TagLib::MPEG::File>(stream, TagLib::ID3v2::FrameFactory::instance(),
                                                    true, kFast);
    if (EndsWith(fileName, QStringLiteral(".flac")))
        return std::make_unique<TagLib::FLAC::File>(stream, TagLib::ID3v2::FrameFactory::instance(),
                                                    true, kFast);
    if (EndsWith(fileName, QStringLiteral(".ogg")))
        return std::make_unique<TagLib::Ogg::Vorbis::File>(stream, true, kFast);
    if (EndsWith(fileName, QStringLiteral(".opus")))
        return std::make_unique<TagLib::Ogg::Opus::File>(stream, true, kFast);
    return std::make_unique<TagLib::MP4::File>(stream, true, kFast);
}

// TagLib keeps its text as wchar_t, which is UTF-32 here. Converted by hand: Qt's fromUcs4
// takes most of the time of a music file's scan (a lyrics tag holds thousands of characters).
// A value that is no character becomes U+FFFD, as fromUcs4 makes it.
QString FromTagLib(const TagLib::String& text) {
    static_assert(sizeof(wchar_t) == 4);
    const wchar_t* in = text.toCWString();
    const qsizetype size = qsizetype(text.size());
    QString out(size * 2, Qt::Uninitialized);  // each character takes one or two units
    QChar* to = out.data();
    for (const wchar_t* const end = in + size; in < end; ++in) {
        const char32_t c = char32_t(*in);
        if (c < 0x10000 && !QChar::isSurrogate(c)) {
            *to++ = QChar(char16_t(c));
        } else if (c >= 0x10000 && c <= 0x10FFFF) {
            *to++ = QChar(QChar::highSurrogate(c));
            *to++ = QChar(QChar::lowSurrogate(c));
        } else {
            *to++ = QChar::ReplacementCharacter;
        }
    }
    out.truncate(to - out.constData());
    return out;
}

// TagLib names the lyrics of every tag kind LYRICS (an ID3v2 frame with a description as
// LYRICS:DESCRIPTION); Vorbis comments also come as UNSYNCEDLYRICS.
QString LyricsOf(const TagLib::PropertyMap& properties) {
    for (const char* key : {"LYRICS", "UNSYNCEDLYRICS"})
        for (const auto& [name, values] : properties)
            if ((name == key || name.startsWith(TagLib::String(key) + ":")) && !values.isEmpty())
                return FromTagLib(values.front());
    return {};
}

struct Track {
    QString fileName;
    QString title;
    unsigned number = 0;
    QStringList lines;
};

// The tags of one audio file. Throws SongFileRefused for a file TagLib cannot read.
Track ReadTrack(const fileio::OpenFolder& folder, const QString& fileName) {
    const SongFileRefused damaged(QStringLiteral("музыкальный файл повреждён или другого вида"));
    std::optional<FolderFileStream> stream;
    try {
        stream.emplace(folder, fileName);
    } catch (const StoreError&) {
        throw damaged;
    }
    const std::unique_ptr<TagLib::File> file = OpenAudio(fileName, &*stream);
    const TagLib::AudioProperties* audio = file->audioProperties();
    if (stream->failed() || !file->isValid() || !audio || audio->sampleRate() <= 0) throw damaged;
    Track track{fileName, {}, 0, {}};
    if (const TagLib::Tag* tag = file->tag()) {
        track.title = FromTagLib(tag->title()).trimmed();
        track.number = tag->track();
    }
    track.lines = TextLines(LyricsOf(file->properties()));
    return track;
}

QString LrcFileBeside(const QStringList& files, const QString& audio) {
    const QString wanted = WithoutExtension(audio) + kLrc;
    for (const QString& file : files)
        if (file.compare(wanted, Qt::CaseInsensitive) == 0) return file;
    return {};
}

bool HasText(const QStringList& lines) {
    return std::any_of(lines.begin(), lines.end(),
                       [](const QString& line) { return !line.trimmed().isEmpty(); });
}

// The text of the .lrc file; its [ti:] goes to `title` when the tags gave none.
void TakeLrc(const fileio::OpenFolder& folder, const QString& lrcFile, Track& track) {
    QString lrcTitle;
    track.lines = LrcText(LyricFileText(folder.readAll(lrcFile)), &lrcTitle);
    if (track.title.isEmpty()) track.title = lrcTitle;
}

}  // namespace

bool IsMusicFile(const QString& fileName) {
    return SongFileKindOf(fileName) == SongFileKind::Music;
}

bool IsLrcFile(const QString& fileName) {
    return SongFileKindOf(fileName) == SongFileKind::Lrc;
}

QStringList LrcText(const QString& lrc, QString* title) {
    static const QRegularExpression tagLine(QStringLiteral("^\\s*\\[([A-Za-z#]+):(.*)\\]\\s*$"));
    static const QRegularExpression stamps(
        QStringLiteral("\\[\\d+:\\d+(?:[.:]\\d+)?\\]|<\\d+:\\d+(?:[.:]\\d+)?>"));
    QStringList lines;
    for (const QString& line : TextLines(lrc)) {
        const QRegularExpressionMatch tag = tagLine.match(line);
        if (tag.hasMatch()) {
            if (title && tag.captured(1).compare(QStringLiteral("ti"), Qt::CaseInsensitive) == 0)
                *title = tag.captured(2).trimmed();
            continue;
        }
        lines.append(QString(line).remove(stamps).trimmed());
    }
    return lines;
}

QString SongNameOfMusicFile(const QString& fileName) {
    static const QRegularExpression trackNumber(QStringLiteral("^\\d+(\\s*-\\s*|\\.\\s*|\\s+)"));
    const QString base = WithoutExtension(fileName);
    const QString name = QString(base).remove(trackNumber);
    return name.isEmpty() ? base : name;
}

MusicAlbum ReadMusicAlbum(const fileio::OpenFolder& folder, const QStringList& files) {
    MusicAlbum album;
    QList<Track> tracks;
    QStringList lrcUsed;
    for (const QString& file : files) {
        if (!IsMusicFile(file)) continue;
        Track track;
        try {
            track = ReadTrack(folder, file);
        } catch (const SongFileRefused& refused) {
            album.unreadFiles.append(folder.pathOf(file) + QStringLiteral(": ") + refused.reason());
            continue;
        }
        const QString lrc = LrcFileBeside(files, file);
        if (!lrc.isEmpty()) lrcUsed.append(lrc);
        if (!HasText(track.lines) && !lrc.isEmpty()) TakeLrc(folder, lrc, track);
        if (!HasText(track.lines)) {
            ++album.withoutLyrics;
            continue;
        }
        tracks.append(track);
    }
    for (const QString& file : files) {
        if (!IsLrcFile(file) || lrcUsed.contains(file)) continue;
        Track track{file, {}, 0, {}};
        TakeLrc(folder, file, track);
        tracks.append(track);
    }
    const bool numbered =
        std::all_of(tracks.begin(), tracks.end(), [](const Track& t) { return t.number > 0; });
    if (numbered)
        std::stable_sort(tracks.begin(), tracks.end(),
                         [](const Track& a, const Track& b) { return a.number < b.number; });
    for (Track& track : tracks) {
        if (CapSongText(track.lines))
            album.unreadFiles.append(CutTextNote(folder.pathOf(track.fileName)));
        const QString name =
            track.title.isEmpty() ? SongNameOfMusicFile(track.fileName) : track.title;
        album.songs.append({name, std::move(track.lines)});
    }
    return album;
}
