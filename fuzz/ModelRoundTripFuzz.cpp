// The performer model: a catalogue read and saved unchanged gives back its bytes; a catalogue
// made anew from what a walk shows reads back as the same walk; and an editor's rewrite of one
// song's text with the text it has changes what no choice shows.
#include <QSet>

#include "fuzz/FuzzTargets.h"
#include "store/PerformerCatalogue.h"

namespace {

// The input as the three line files of one performer: album list, song list and text file,
// separated by NUL bytes (a line file never needs one to be read).
PerformerCatalogue CatalogueOf(const QByteArray& input) {
    const QList<QByteArray> parts = input.split('\0');
    PerformerCatalogue catalogue;
    catalogue.albumList = LineFile(parts.value(0));
    catalogue.songList = LineFile(parts.value(1));
    catalogue.textFile = LineFile(parts.value(2));
    return catalogue;
}

// Names the builder can store so that each reads back as itself: every album listed once,
// every song once in its album.
bool NamesAreDistinct(const QList<CatalogueAlbum>& walked) {
    QSet<QByteArray> albums;
    for (const CatalogueAlbum& album : walked) {
        if (albums.contains(album.name)) return false;
        albums.insert(album.name);
        QSet<QByteArray> songs;
        for (const CatalogueSong& song : album.songs) {
            if (songs.contains(song.name)) return false;
            songs.insert(song.name);
        }
    }
    return true;
}

// A song named like an album's song block header, or a text line like a song's text block
// header, is read as that block's start by a reader looking for it: stored anew, such a
// catalogue cannot read back as it was, as it could not when the scanner made it.
bool NoLineIsAHeader(const QList<CatalogueAlbum>& walked) {
    QSet<QByteArray> headers;
    for (const CatalogueAlbum& album : walked) {
        headers.insert(SongBlockHeader(album.name));
        for (const CatalogueSong& song : album.songs)
            headers.insert(TextBlockHeader(album.name, song.name));
    }
    for (const CatalogueAlbum& album : walked) {
        for (const CatalogueSong& song : album.songs) {
            if (headers.contains(song.name)) return false;
            for (const Line& line : song.text)
                if (headers.contains(line)) return false;
        }
    }
    return true;
}

// Album names are lines of their own; a name holding a line break or Ctrl-Z was never read.
PerformerCatalogue Rebuilt(const QList<CatalogueAlbum>& walked) {
    CatalogueBuilder builder("P");
    for (const CatalogueAlbum& album : walked) {
        builder.addAlbum(album.name);
        for (const CatalogueSong& song : album.songs)
            builder.addSong(song.name, JoinRecordLines(song.text));
    }
    return builder.finish();
}

bool SameWalk(const QList<CatalogueAlbum>& a, const QList<CatalogueAlbum>& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].songs.size() != b[i].songs.size()) return false;
        for (qsizetype j = 0; j < a[i].songs.size(); ++j)
            if (a[i].songs[j].name != b[i].songs[j].name ||
                a[i].songs[j].text != b[i].songs[j].text)
                return false;
    }
    return true;
}

}  // namespace

int FuzzModelRoundTrip(const uint8_t* data, size_t size) {
    const QByteArray input = FuzzBytes(data, size);
    PerformerCatalogue catalogue = CatalogueOf(input);
    const QList<QByteArray> parts = input.split('\0');
    FUZZ_CHECK(catalogue.albumList.bytes() == parts.value(0));
    FUZZ_CHECK(catalogue.songList.bytes() == parts.value(1));
    FUZZ_CHECK(catalogue.textFile.bytes() == parts.value(2));
    FUZZ_CHECK(!catalogue.albumList.changed() && !catalogue.textFile.changed());

    const QList<CatalogueAlbum> walked = catalogue.walk();
    // The walk the lyrics index makes gives the same songs and texts in one piece each.
    const QList<JoinedSong> joined = catalogue.walkJoined();
    qsizetype at = 0;
    for (const CatalogueAlbum& album : walked)
        for (const CatalogueSong& song : album.songs) {
            FUZZ_CHECK(at < joined.size() && joined[at].album == album.name &&
                       joined[at].name == song.name && joined[at].text == song.text.join('\n'));
            ++at;
        }
    FUZZ_CHECK(at == joined.size());
    if (NamesAreDistinct(walked) && NoLineIsAHeader(walked))
        FUZZ_CHECK(SameWalk(Rebuilt(walked).walk(), walked));

    // The first song's text saved as it is: every album, song and text shows as before. (A
    // last block without its end line runs to the end of the file, and so takes in the block
    // a save puts there; a block that follows a removed one directly is not looked at; and a
    // text line that is another song's header is that song's block inside this one, which
    // the save takes out: the editors have always done so. Those files are left out.)
    const Lines texts = catalogue.textFile.toList();
    if (!texts.isEmpty() && texts.last() != kTextBlockEnd) return 0;
    if (!NoLineIsAHeader(walked)) return 0;
    for (const CatalogueAlbum& album : walked) {
        if (album.songs.isEmpty()) continue;
        const CatalogueSong& song = album.songs.first();
        if (texts.count(TextBlockHeader(album.name, song.name)) != 1) break;
        catalogue.setText(album.name, song.name, catalogue.textOf(album.name, song.name));
        FUZZ_CHECK(SameWalk(catalogue.walk(), walked));
        break;
    }
    return 0;
}
