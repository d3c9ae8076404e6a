#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

class PerformerRepository;

// One performer's songs as the main window shows them: every album of the album list, every
// song of its song blocks, and the text the text pane shows for it. Names and text stay in the
// catalogue's Windows-1251 bytes.
struct CataloguedSong {
    QByteArray album;
    QByteArray song;
    // The text's lines joined with LF: line i is line i of the text pane.
    QByteArray text;
};

// Size and modification time of a performer's three line files; a file that cannot be looked
// at counts as size -1. Equal stamps mean nothing needs to be read again.
struct FileStamps {
    std::array<qint64, 6> values{};
    bool operator==(const FileStamps& o) const { return values == o.values; }
    bool operator!=(const FileStamps& o) const { return !(*this == o); }
    QByteArray toBytes() const;
    static FileStamps fromBytes(const QByteArray& bytes);
};

// Stamps performers' files through one open descriptor of the catalogue folder: the start-up
// check looks at thousands of performers, and each look then walks a short relative path.
class PerformerStamper {
  public:
    explicit PerformerStamper(const PerformerRepository& repository);
    ~PerformerStamper();
    PerformerStamper(const PerformerStamper&) = delete;
    PerformerStamper& operator=(const PerformerStamper&) = delete;
    FileStamps stamp(const QByteArray& performer) const;

  private:
    int folder_;  // -1 when the catalogue folder cannot be opened: every file is then missing
};

// Reads the performer's catalogue through the repository; false when one of its files cannot
// be read (the performer is then left out of the index).
bool ReadPerformerSongs(const PerformerRepository& repository, const QByteArray& performer,
                        std::vector<CataloguedSong>& songs);

// The performer list, without empty and repeated names; false when it cannot be read.
bool ReadPerformerNames(const PerformerRepository& repository, std::vector<QByteArray>& names);

// Whether the performer's folder is there (a performer whose folder an undo took away is no
// longer in the catalogue, whatever the list says).
bool PerformerFolderExists(const PerformerRepository& repository, const QByteArray& performer);
