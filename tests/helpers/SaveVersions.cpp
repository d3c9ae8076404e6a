#include "tests/helpers/SaveVersions.h"

#include <random>

#include "store/Cp1251.h"

namespace {

constexpr int kOtherSongs = 1600;  // about 4 MB of text file
constexpr int kLinesPerSong = 40;
constexpr int kOtherAlbums = 400;  // about 1 MB of song list
constexpr int kSongsPerAlbum = 60;

QByteArray Cp(const char* utf8) {
    return cp1251::encode(QString::fromUtf8(utf8)).bytes;
}

const QList<QByteArray>& Words() {
    static const QList<QByteArray> words = [] {
        QList<QByteArray> w;
        for (const char* word :
             {"ночь", "улица", "фонарь", "аптека", "ветер", "река", "песня", "дорога", "звезда",
              "сердце", "осень", "город", "снег", "любовь", "небо", "огонь", "ёлка", "Эхо"})
            w.append(Cp(word));
        return w;
    }();
    return words;
}

Line LyricLine(std::mt19937& random) {
    Line line;
    const int count = 3 + int(random() % 8);
    for (int i = 0; i < count; ++i) {
        if (i) line.append(' ');
        line.append(Words()[qsizetype(random() % quint32(Words().size()))]);
    }
    return line;
}

Line Numbered(const char* utf8Prefix, qint64 n) {
    return Cp(utf8Prefix) + QByteArray::number(n);
}

Line VersionLine(qint64 version) {
    return Numbered("Версия ", version);
}

}  // namespace

SaveVersions::SaveVersions(quint32 seed) : seed_(seed) {
    std::mt19937 random(seed);
    for (int s = 0; s < kOtherSongs; ++s) {
        otherTexts_.append(TextBlockHeader(Numbered("Альбом ", s % 50), Numbered("Песня ", s)));
        for (int l = 0; l < kLinesPerSong; ++l) otherTexts_.append(LyricLine(random));
        otherTexts_.append(kTextBlockEnd);
        if (s % 7 == 0) otherTexts_.append(Line());  // stray lines between blocks
    }
    for (int a = 0; a < kOtherAlbums; ++a) {
        otherSongs_.append(SongBlockHeader(Numbered("Альбом ", a)));
        for (int s = 0; s < kSongsPerAlbum; ++s) otherSongs_.append(LyricLine(random));
        otherSongs_.append(kSongBlockEnd);
    }
}

QByteArray SaveVersions::performer() {
    return Cp("Исполнитель");
}

QByteArray SaveVersions::album() {
    return Cp("Сохраняемый альбом");
}

QByteArray SaveVersions::song() {
    return Cp("Сохраняемая песня");
}

Lines SaveVersions::lyrics(qint64 version) const {
    std::mt19937 random(seed_ ^ quint32(version * 2654435761u));
    Lines lines{VersionLine(version)};
    const int count = 10 + int(random() % 30);
    for (int i = 0; i < count; ++i) lines.append(LyricLine(random));
    return lines;
}

Lines SaveVersions::songs(qint64 version) const {
    std::mt19937 random(seed_ ^ quint32(version * 40503u + 7));
    Lines names{VersionLine(version)};
    const int count = 5 + int(random() % 40);
    for (int i = 0; i < count; ++i) names.append(LyricLine(random));
    return names;
}

QByteArray SaveVersions::textFile(qint64 version) const {
    return JoinRecordLines(otherTexts_) + JoinRecordLines(Lines{TextBlockHeader(album(), song())} +
                                                          lyrics(version) + Lines{kTextBlockEnd});
}

QByteArray SaveVersions::songFile(qint64 version) const {
    return JoinRecordLines(otherSongs_) +
           JoinRecordLines(Lines{SongBlockHeader(album())} + songs(version) + Lines{kSongBlockEnd});
}

qint64 SaveVersions::versionOf(const Lines& body) {
    const Line prefix = VersionLine(0).chopped(1);
    if (body.isEmpty() || !body.first().startsWith(prefix)) return -1;
    bool ok = false;
    const qint64 version = body.first().mid(prefix.size()).toLongLong(&ok);
    return ok ? version : -1;
}
