#include "import/MusicLyrics.h"

#include <taglib/flacfile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>

#include <QRegularExpression>
#include <algorithm>
#include <memory>

#include "import/LyricText.h"
#include "import/SongFormats.h"
#include "store/FileIo.h"

namespace {

const QString kLrc = QStringLiteral(".lrc");

bool EndsWith(const QString& name, const QString& extension) {
    return name.endsWith(extension, Qt::CaseInsensitive);
}

constexpr TagLib::AudioProperties::ReadStyle kFast = TagLib::AudioProperties::Fast;

// The TagLib reader of the file's kind, with the audio's properties: a file in which TagLib
// finds no audio at all is damaged (or of another kind), whatever tags it may still hold.
std::unique_ptr<TagLib::File> OpenAudio(const QString& fileName, const QString& path) {
    const QByteArray name = path.toUtf8();
    const TagLib::FileName file(name.constData());
    if (EndsWith(fileName, QStringLiteral(".mp3")))
        return std::make_unique<TagLib::MPEG::File>(file, TagLib::ID3v2::FrameFactory::instance(),
                                                    true, kFast);
    if (EndsWith(fileName, QStringLiteral(".flac")))
        return std::make_unique<TagLib::FLAC::File>(file, TagLib::ID3v2::FrameFactory::instance(),
                                                    true, kFast);
    if (EndsWith(fileName, QStringLiteral(".ogg")))
        return std::make_unique<TagLib::Ogg::Vorbis::File>(file, true, kFast);
    if (EndsWith(fileName, QStringLiteral(".opus")))
        return std::make_unique<TagLib::Ogg::Opus::File>(file, true, kFast);
    return std::make_unique<TagLib::MP4::File>(file, true, kFast);
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
    const std::unique_ptr<TagLib::File> file = OpenAudio(fileName, folder.pathOf(fileName));
    const TagLib::AudioProperties* audio = file->audioProperties();
    if (!file->isValid() || !audio || audio->sampleRate() <= 0)
        throw SongFileRefused(QStringLiteral("музыкальный файл повреждён или другого вида"));
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
