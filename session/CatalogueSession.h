#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "session/Feedback.h"
#include "store/RecordFile.h"

struct AlbumRename;
struct PerformerRename;

// One run's catalogue as the windows show it: the data folder, the three lists (performers,
// albums of the chosen performer, songs of the chosen album) as stored Windows-1251 bytes with
// the entry selected in each, the names and paths of the last choice, and every command of the
// program. A command does its file work through the store, updates the state and then tells the
// windows what changed, synchronously: a dialog's save has updated the main window's lists
// before the dialog closes. Messages go to the Feedback the calling window hands in.
class CatalogueSession : public QObject {
    Q_OBJECT
  public:
    // The working directory becomes StartDir.
    explicit CatalogueSession(QObject* parent = nullptr);
    ~CatalogueSession() override;

    // The start-up: saves killed half-way are cleared away, the performer list file is made
    // when missing and read.
    void Open(Feedback& feedback);

    // ---- state ----
    const QString& StartDir() const { return startDir_; }
    const QByteArray& CurrentPerformer() const { return currentPerformer_; }
    const QByteArray& CurrentAlbum() const { return currentAlbum_; }
    const QByteArray& CurrentSong() const { return currentSong_; }
    const QByteArray& TextKeyPrefix() const { return textKeyPrefix_; }
    const QByteArray& TextKey() const { return textKey_; }
    const QString& AlbumsPath() const { return albumsPath_; }
    const QString& SongsPath() const { return songsPath_; }
    const QString& TextsPath() const { return textsPath_; }
    const QString& PicturePath() const { return picturePath_; }

    const Lines& Performers() const { return performers_; }
    const Lines& Albums() const { return albums_; }
    const Lines& Songs() const { return songs_; }
    // The selected entry of each list, -1 when none.
    int PerformerIndex() const { return performerIndex_; }
    int AlbumIndex() const { return albumIndex_; }
    int SongIndex() const { return songIndex_; }
    bool HasSelectedPerformer() const { return performerIndex_ >= 0; }
    bool HasSelectedAlbum() const { return albumIndex_ >= 0; }
    bool HasSelectedSong() const { return songIndex_ >= 0; }
    // The selected entries' names, empty when none is selected.
    QByteArray SelectedPerformer() const;
    QByteArray SelectedAlbum() const;
    QByteArray SelectedSong() const;

    // ---- browsing ----
    // The user moved a list's selection; nothing is loaded.
    void SelectPerformer(int index);
    void SelectAlbum(int index);
    void SelectSong(int index);
    // The user chose an entry: the next list (and the picture, the text) is loaded.
    void ChoosePerformer(int index, Feedback& feedback);
    void ChooseAlbum(int index, Feedback& feedback);
    void ChooseSong(int index, Feedback& feedback);
    // Shows the text block of that key from the chosen performer's text file.
    void SongOut(const QByteArray& key, Feedback& feedback);
    // Only the first *.lrx file the folder listing yields is looked at.
    bool PerformerHasData() const;

    // ---- the editors' buffers ----
    // The lines an editor starts with; nothing (after the error report) when the file cannot
    // be read.
    std::optional<Lines> AlbumListForEditing(Feedback& feedback) const;
    std::optional<Lines> SongListForEditing(Feedback& feedback) const;
    std::optional<Lines> SongTextForEditing(Feedback& feedback) const;

    // ---- commands; each returns true when the dialog that started it may close ----
    // A new performer at the end of the list; the selection stays.
    void AddPerformer(const QByteArray& name, Feedback& feedback);
    bool SaveAlbumList(const Lines& albums, Feedback& feedback);
    bool SaveSongList(const Lines& songs, Feedback& feedback);
    bool SaveSongText(const Lines& text, Feedback& feedback);
    bool RenameAlbum(const QByteArray& performer, const QByteArray& oldName,
                     const QByteArray& newName, Feedback& feedback);
    bool RenamePerformer(const QByteArray& oldName, const QByteArray& newName, Feedback& feedback);
    bool RenameSong(const QByteArray& performer, const QByteArray& album, const QByteArray& oldName,
                    const QByteArray& newName, Feedback& feedback);
    // Asks first; the selected performer's list line and folder go.
    void DeletePerformer(Feedback& feedback);
    // The chosen album's picture: whether one is stored, whether one can be, storing JPEG
    // bytes as they are (throws StoreError), and removing it after asking.
    bool HasAlbumPicture() const;
    bool CanStoreAlbumPicture() const;
    void StoreAlbumPicture(const QByteArray& jpeg);
    void RemoveAlbumPicture(Feedback& feedback);
    // The picture file of the chosen album; empty when the names cannot form its path.
    QString AlbumPictureFile() const;
    // The large picture window's caption for the chosen album.
    QString AlbumPictureCaption() const;
    // Turns the scan folder's album folders into the performer's catalogue.
    bool Scan(const QByteArray& performer, const QString& scanFolder, Feedback& feedback);
    // Brings the performer's catalogue in from another copy's performer folder.
    bool ImportPerformer(const QString& baseFolder, const QByteArray& performer,
                         Feedback& feedback);

    // ---- printing and export (nothing under Data/ changes) ----
    struct SongWithText {
        QByteArray name;
        Lines text;
    };
    // The chosen song's text, and every song of the chosen album with its text in list
    // order (throw StoreError).
    Lines SelectedSongText() const;
    std::vector<SongWithText> SelectedAlbumTexts() const;
    // The chosen album's picture file as stored, empty when it has none.
    QByteArray SelectedAlbumPicture() const;
    // Writes the chosen performer as a folder of text files inside `folder` and reports how
    // it went.
    void ExportPerformer(const QString& folder, Feedback& feedback) const;

  signals:
    // A list was refilled; its selection is the session's.
    void performersChanged();
    void albumsChanged();
    void songsChanged();
    // The text pane shows these lines.
    void songTextChanged(const Lines& text);
    // The album picture read from its file, to be shown in the main window.
    void albumPictureRead(const QByteArray& data);
    // The album picture is put away in the main window and the large picture window.
    void pictureHidden();
    void pictureCaptionChanged(const QString& caption);

    // After any command that wrote that performer's album list, song list or text file or
    // created the performer.
    void performerFilesChanged(const QByteArray& performer);
    void performerRenamed(const QByteArray& oldName, const QByteArray& newName);
    void performerDeleted(const QByteArray& name);

  private:
    void setPerformers(const Lines& names, int selected = -1);
    void setAlbums(const Lines& names);
    void setSongs(const Lines& names, int selected = -1);
    void clearBrowsing(const QString& caption);
    void showAlbumPicture(Feedback& feedback);
    void loadPerformerList();
    void restorePerformerList(const Lines& before, int selected);
    void showRename(const AlbumRename& rename);
    void showRename(const PerformerRename& rename);

    QString startDir_;
    QByteArray currentPerformer_;
    QByteArray currentAlbum_;
    QByteArray currentSong_;
    QByteArray textKeyPrefix_;
    QByteArray textKey_;
    QString albumsPath_;
    QString songsPath_;
    QString textsPath_;
    QString picturePath_;

    Lines performers_;
    Lines albums_;
    Lines songs_;
    int performerIndex_ = -1;
    int albumIndex_ = -1;
    int songIndex_ = -1;
};
