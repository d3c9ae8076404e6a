#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include "store/RecordFile.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QToolButton;
class PictureView;

// The main window: three linked lists (performer, album, song), the song's text beside them
// and the album's picture below; in edit mode, the buttons that start every command.
class TMainForm : public QWidget {
    Q_OBJECT
  public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- controls, named as in the design ----
    QLabel* IspolLabel;
    QComboBox* PerfComboBox;
    QLabel* AlbomLabel;
    QComboBox* AlbumsComboBox;
    QLabel* PesniLabel;
    QListWidget* SongsListBox;
    QFrame* SongPanel;
    QPlainTextEdit* Song;
    QFrame* ImagePanel;
    PictureView* Image;

    QToolButton* RedONSpeedButton;
    QToolButton* RedOFFSpeedButton;
    QToolButton* HelpSpeedButton;
    QToolButton* DefaultSpeedButton;
    QToolButton* ScanerSpeedButton;
    QToolButton* ImageSpeedButton;
    QToolButton* DelImageSpeedButton;
    QToolButton* DelAvtSpeedButton;
    QToolButton* SongEdSpeedButton;
    QToolButton* PerformersSpeedButton;
    QToolButton* EdAlbumSpeedButton;
    QToolButton* SongsSpeedButton;

    QFrame* PerfListPanel;
    QFrame* AlbumListPanel;
    QFrame* SongsListPanel;
    QToolButton* PlusPerfSpeedButton;
    QToolButton* EditPerfNameSpeedButton;
    QToolButton* EditAlbListSpeedButton;
    QToolButton* EditAlbNameSpeedButton;
    QToolButton* EditSongsListSpeedButton;
    QToolButton* EditSongNameSpeedButton;

    QMenu* SongPopupMenu;
    QAction* N2;  // font
    QAction* N4;  // background colour
    QAction* N6;  // window colour
    QMenu* ImagePopupMenu1;
    QAction* N1;  // large picture window
    QAction* N7;  // system viewer

    // ---- shared selection state (Windows-1251 names, paths as on disk) ----
    QString StartDir;
    QByteArray CurrentPerformer;
    QByteArray CurrentAlbum;
    QByteArray CurrentSong;
    QByteArray TextKeyPrefix;
    QByteArray TextKey;
    QString AlbumsPath;
    QString SongsPath;
    QString TextsPath;
    QString PicturePath;

    // ---- the lists as stored names ----
    // The entries of a list in the catalogue's bytes, and the selected one (empty when none).
    Lines PerformerNames() const;
    bool HasSelectedPerformer() const;
    QByteArray SelectedPerformer() const;
    Lines AlbumNames() const;
    bool HasSelectedAlbum() const;
    QByteArray SelectedAlbum() const;
    Lines SongNames() const;
    bool HasSelectedSong() const;
    QByteArray SelectedSong() const;
    // Refill a list from stored names; nothing is selected afterwards.
    void SetPerformerNames(const Lines& names);
    void SetAlbumNames(const Lines& names);
    void SetSongNames(const Lines& names);
    // Fill the text pane with text lines and show its first line.
    void SetSongText(const Lines& lines);

    // ---- the album picture ----
    void ShowPicture(const QImage& picture);
    void HidePicture();
    bool PictureShown() const;

    // ---- handlers and routines ----
    void PerfComboBoxClick();
    void AlbumsComboBoxClick();
    void SongsListBoxClick();
    void SongOut(const QByteArray& key);
    void RedONSpeedButtonClick();
    void RedOFFSpeedButtonClick();
    void HelpSpeedButtonClick();
    void ScanerSpeedButtonClick();
    void SongEdSpeedButtonClick();
    void DelAvtSpeedButtonClick();
    void ImageSpeedButtonClick();
    void DelImageSpeedButtonClick();
    void PlusPerfSpeedButtonClick();
    void EditPerfNameSpeedButtonClick();
    void EditAlbListSpeedButtonClick();
    void EditAlbNameSpeedButtonClick();
    void EditSongsListSpeedButtonClick();
    void EditSongNameSpeedButtonClick();
    void DefaultSpeedButtonClick();
    void N1Click();
    void N2Click();
    void N4Click();
    void N6Click();
    void N7Click();
    void SongsListEdit();
    void AlbumsListEdit();
    void EditSongText();
    void AddImage();
    void DeleteAvtor();
    void FormActivate();
    void ImageProgress();

    // Pointer-move rules of the hover panels; x, y in the moved-over control's coordinates.
    void PerformersSpeedButtonMouseMove();
    void EdAlbumSpeedButtonMouseMove();
    void SongsSpeedButtonMouseMove();
    void PerfListPanelMouseMove(int x, int y);
    void AlbumListPanelMouseMove(int x, int y);
    void SongsListBoxMouseMove();
    void FormMouseMove();

    // The window's outer size as the layout rule sees it (frame and caption included).
    QSize OuterSize() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void FormResize();
    void ApplyMainWindowRule();
    void createControls();
    void connectHandlers();
    void assignHints();
    void setEditButtonsVisible(bool visible);
    void loadPerformerList();
    void showAlbumPicture();
    bool performerHasData() const;
    template <typename LineContainer>
    static QStringList decodeLines(const LineContainer& lines);

    bool fillingSongs_ = false;
    bool rowChangedInThisPress_ = false;
    bool inFirstRunCheck_ = false;
    bool firstRunFlagUnwritable_ = false;
    // The font and colour dialogs remember the last choice for the rest of the run.
    QFont fontDialogFont_;
    QColor fontDialogColour_;
    QColor colorDialogColour_ = Qt::black;
};
