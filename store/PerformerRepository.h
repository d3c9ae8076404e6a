#pragma once

#include <QByteArray>
#include <QString>

#include "store/PerformerCatalogue.h"
#include "store/StorePaths.h"

class FileSetChange;
class SeenFiles;

// Where the catalogues of one data folder are read from and written to. Every read of a line
// file of the catalogue goes through here; every write of one goes through a FileSetChange.
// Names are the stored Windows-1251 bytes; a name that cannot form a path throws
// StoreNameError before anything is touched.
class PerformerRepository {
  public:
    explicit PerformerRepository(QString startDir);
    const QString& startDir() const { return startDir_; }
    QString path(StoreEntry kind, QByteArrayView performer = {}, QByteArrayView album = {}) const;

    // The performer list file as read. Throws StoreReadError when it cannot be opened.
    RecordLines readPerformerList() const;
    // One line file of a performer (AlbumList, SongList or TextFile) as read. Throws
    // StoreReadError naming the file when it cannot be opened.
    LineFile read(QByteArrayView performer, StoreEntry file) const;
    // As read(), for a file about to be edited. When it holds what the program last saw of it,
    // those bytes, kept already, stand for the bytes as read: the edit then changes the bytes
    // just read in place, where a large text file would otherwise be copied whole.
    LineFile readToEdit(QByteArrayView performer, StoreEntry file) const;
    void knowSeenFiles(const SeenFiles* seen) { seen_ = seen; }
    // The three line files and the names of the album pictures. A picture folder that cannot
    // be listed has no pictures; a line file that cannot be read throws StoreReadError.
    PerformerCatalogue load(QByteArrayView performer) const;

    // Writes the line files of the catalogue that an edit changed, in the order album list,
    // song list, text file; a file read before is known to hold the bytes it was read with, so
    // it is not read again. With `last`, the last of them is the change's final step.
    void save(FileSetChange& change, const PerformerCatalogue& catalogue, bool last = false) const;

  private:
    QString startDir_;
    const SeenFiles* seen_ = nullptr;
};
