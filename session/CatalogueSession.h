#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

#include "session/AppearanceCommands.h"
#include "session/ChangeHistory.h"
#include "session/Command.h"
#include "session/Feedback.h"
#include "store/FileSetChange.h"
#include "store/JournalReplay.h"
#include "store/PerformerRepository.h"
#include "store/RecordFile.h"
#include "store/SeenFiles.h"

// What the large picture window's caption says: nothing chosen yet ("Картинка: "), put away
// by a command that changed the names ("Картинка:"), or the chosen performer and album.
struct PictureCaption {
    enum class Kind { Empty, PutAway, Album };
    Kind kind = Kind::Empty;
    QByteArray performer;
    QByteArray album;
};

// What a change touched, for those who follow the catalogue (the lyrics index).
enum class CatalogueChange {
    PerformerFiles,  // the performer's line files or pictures
    PerformerAdded,
    PerformerRenamed,  // `performer` is the new name, `oldName` the old one
    PerformerDeleted,
    Reloaded,  // read again from the files
};

// How a command ended, for the window that started it.
enum class Outcome { Done, Refused, Declined, Failed };

// One run's catalogue as the windows show it: the data folder, the three lists (performers,
// albums of the chosen performer, songs of the chosen album) as stored Windows-1251 bytes with
// the entry selected in each, the names and paths of the last choice, the text and picture
// shown, and the one door through which every command runs. A command does its file work, the
// session updates the state and then tells the windows what changed, synchronously: a dialog's
// save has updated the main window's lists before the dialog closes. Messages go to the
// Feedback the calling window hands in.
class CatalogueSession : public QObject {
    Q_OBJECT
  public:
    // The working directory becomes StartDir.
    explicit CatalogueSession(QObject* parent = nullptr);
    ~CatalogueSession() override;

    // The start-up: saves killed half-way are cleared away, the performer list file is made
    // when missing and read.
    void Open(Feedback& feedback);

    // Runs a command: its checks, its questions, its file work as one change, then what the
    // windows show. The journal of a command that changed files is kept as lastJournal().
    Outcome execute(Command& command, Feedback& feedback);
    // What the last command that wrote anything changed, file by file.
    const ChangeJournal& lastJournal() const { return lastJournal_; }
    const PerformerRepository& Repository() const { return repository_; }
    // The changes of this run that can be undone and redone.
    const ChangeHistory& History() const { return history_; }
    // After an undo (Back) or redo (Forward) of the history's step: the history moves on, and
    // the lists, text and picture show the files as they are now, with the step's choice made
    // again where it still exists.
    void Replayed(Replay direction, const ChangeJournal& journal, const CommandTarget& choose);
    // A path of the data folder as messages name it: below Data/.
    QString BelowData(const QString& path) const;
    AppearanceService& Appearance() { return appearance_; }

    // The first activation of a run for a user without the first-run flag: the flag is
    // written and the advice to read the help shown; true when the help is to follow. A flag
    // that cannot be written is reported once a run, and looked for again at the next start.
    bool CheckFirstRun(Feedback& feedback);

    // ---- state ----
    const QString& StartDir() const { return repository_.startDir(); }
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
    // The text pane's lines and the album picture's bytes (empty when none shows).
    const Lines& ShownText() const { return text_; }
    const QByteArray& ShownPicture() const { return picture_; }
    const PictureCaption& Caption() const { return caption_; }
    // The caption naming the chosen performer and album.
    PictureCaption AlbumCaption() const {
        return {PictureCaption::Kind::Album, currentPerformer_, currentAlbum_};
    }

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
    // A song found elsewhere (the lyrics search), chosen as the user would choose it, list by
    // list, warnings included; `line` is the text line to show selected (-1: none). False when
    // the performer, album or song is no longer listed (the choice stops where it is missing).
    bool RevealSong(const QByteArray& performer, const QByteArray& album, const QByteArray& song,
                    int line, Feedback& feedback);
    // Reads the lists, the text and the picture again from the files and chooses again, by
    // name, what was chosen (or the given names); what is no longer there is cleared as a new
    // choice clears it. One catalogueChanged and one selectionChanged follow; nothing is said.
    void Reload(const QByteArray& performer);
    void Reload(const CommandTarget& choose);
    // After a moment in which others may have changed the files shown: what changed is read
    // again (see Reload), and conflict copies of sync tools are named once a run.
    void CheckOutsideChanges(Feedback& feedback);
    // An editor shows what is shown now until it closes: a save from it asks before writing
    // over a file changed meanwhile, though the windows have shown the change.
    void EditorOpened() { seen_.hold(); }
    void EditorClosed() { seen_.release(); }
    // Only the first *.lrx file the folder listing yields is looked at.
    bool PerformerHasData() const;
    // The line to show selected after RevealSong, -1 when none.
    int RevealedLine() const { return revealedLine_; }

    // ---- the editors' buffers ----
    // The lines an editor starts with; nothing (after the error report) when the file cannot
    // be read.
    std::optional<Lines> AlbumListForEditing(Feedback& feedback) const;
    std::optional<Lines> SongListForEditing(Feedback& feedback) const;
    std::optional<Lines> SongTextForEditing(Feedback& feedback) const;

    // ---- the album picture ----
    // Whether the chosen album has a picture stored, and whether one can be stored.
    bool HasAlbumPicture() const;
    bool CanStoreAlbumPicture() const;
    // The picture file of the chosen album; empty when the names cannot form its path.
    QString AlbumPictureFile() const;

    // ---- printing (nothing under Data/ changes) ----
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
    // Every album of the chosen performer in stored order, with its songs and their texts
    // (throws StoreError); and the picture file of one of its albums, as above.
    QList<CatalogueAlbum> SelectedPerformerAlbums() const;
    QByteArray PerformerAlbumPicture(QByteArrayView album) const;

    // ---- what the windows show, set by the commands ----
    void ShowPerformers(const Lines& names, int selected = -1);
    void ShowAlbums(const Lines& names);
    void ShowSongs(const Lines& names, int selected = -1);
    void ShowText(const Lines& text);
    void HidePicture();
    void ShowCaption(PictureCaption::Kind kind);
    // The lists, the text and the album picture of the old choice are put away.
    void ClearBrowsing(PictureCaption::Kind caption);
    // After a failure that may have touched the performer list file, the list is what the file
    // holds; when the file cannot be read, the list as it was.
    void RestorePerformerList(const Lines& before, int selected);
    void SetCurrentSong(const QByteArray& song);
    void NotifyChange(CatalogueChange what, const QByteArray& performer,
                      const QByteArray& oldName = {});

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
    void pictureCaptionChanged(const PictureCaption& caption);
    // Every list, the text and the picture may have changed: the windows show the state anew.
    void selectionChanged();
    // The lists are as they were; the entries selected in them are the session's now.
    void selectedEntriesChanged();

    // The files of the catalogue changed: by a command, or read again.
    void catalogueChanged(CatalogueChange what, const QByteArray& performer,
                          const QByteArray& oldName);
    // What an undo or a redo would play now changed.
    void historyChanged();

  private:
    void setPerformers(const Lines& names, int selected = -1);
    void setAlbums(const Lines& names);
    void setSongs(const Lines& names, int selected = -1);
    void showAlbumPicture(Feedback& feedback);
    void loadPerformerList();
    void rememberJournal(const ChangeJournal& journal);
    ChangeJournal applyAsOneChange(Command& command, const QSet<QString>& overwrite,
                                   std::exception_ptr& failure);
    static std::optional<QString> changedOutside(std::exception_ptr failure);
    // A file read to be shown (in a list, the text pane or an editor) is what the user has
    // seen of it.
    LineFile readShown(StoreEntry file) const;
    RecordLines readShownPerformerList() const;
    QByteArray readShownBytes(const QString& path) const;
    bool pictureChangedSinceShown() const;
    void tellConflictCopies(Feedback& feedback);
    void reloadChoice(const CommandTarget& choose);

    PerformerRepository repository_;
    AppearanceService appearance_;
    bool inFirstRunCheck_ = false;
    bool firstRunFlagUnwritable_ = false;
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
    Lines text_;
    QByteArray picture_;
    PictureCaption caption_;
    int revealedLine_ = -1;
    ChangeJournal lastJournal_;
    ChangeHistory history_;
    mutable SeenFiles seen_;
    QSet<QString> toldConflictCopies_;
    mutable QHash<QString, QByteArray> justRead_;
};

Q_DECLARE_METATYPE(PictureCaption)
