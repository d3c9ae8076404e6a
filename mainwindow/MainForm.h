#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "store/RecordFile.h"
#include "support/EditorBuffers.h"
#include "support/Modal.h"

class CatalogueSession;
class Command;
struct CommandTarget;
class HoverPanels;
class QAction;
class QDialog;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QToolButton;
class PictureView;
struct PrintedBook;
struct SongbookOptions;

// The main window: three linked lists (performer, album, song), the song's text beside them
// and the album's picture below; in edit mode, the buttons that start every command. A view
// of the session: it shows the session's lists and hands every command to it.
class TMainForm : public QWidget {
    Q_OBJECT
  public:
    TMainForm(CatalogueSession& session, EditorBuffers& buffers, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The windows the main window opens, created after it.
    struct Dialogs {
        QDialog* HelpForm;
        QDialog* AddPerfSelectForm;
        QDialog* PerfNameEditForm;
        QDialog* AlbumsForm;
        QDialog* AlbNameEditForm;
        QDialog* SongsForm;
        QDialog* SongNameEditForm;
        QDialog* SongForm;
        QDialog* ScanerForm;
        QDialog* ExportForm;
    };
    void SetDialogs(const Dialogs& dialogs) { dialogs_ = dialogs; }

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
    QAction* PrintSongItem;
    QAction* PrintAlbumItem;
    QAction* PrintPerformerItem;
    QAction* ExportPerformerItem;
    // "Поиск по текстам…", the menu's last entry; also Ctrl+F in the whole window
    QAction* SearchAction;
    // Undo and redo of the last change (MainFormHistory.cpp).
    QAction* UndoItem = nullptr;
    QAction* RedoItem = nullptr;
    QMenu* ImagePopupMenu1;
    QAction* N1;  // large picture window
    QAction* N7;  // system viewer

    // ---- the lists as shown, as stored names ----
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
    // ---- the album picture ----
    void ShowPicture(const QImage& picture);
    void HidePicture();
    bool PictureShown() const;

  signals:
    // The picture shown, for the large picture window to hold the same one.
    void pictureShown(const QImage& picture);
    // "Открыть большое окно": the large window shows this picture.
    void largePictureRequested(const QImage& picture);

  public:
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
    // Printing and export, from the text pane's menu (MainFormPrint.cpp).
    void AddPrintAndExportItems();
    void PrintSongItemClick();
    void PrintAlbumItemClick();
    void PrintPerformerItemClick();
    void ExportPerformerItemClick();
    void UndoItemClick();
    void RedoItemClick();
    // Others may have changed the files shown, and have stopped for a moment.
    void OutsideChangesSettled();
    void SongsListEdit();
    void AlbumsListEdit();
    void EditSongText();
    void AddImage();
    void DeleteAvtor();
    void FormActivate();

    // Pointer-move rules of the hover panels; x, y in the moved-over control's coordinates.
    void PerformersSpeedButtonMouseMove();
    void EdAlbumSpeedButtonMouseMove();
    void SongsSpeedButtonMouseMove();
    void PerfListPanelMouseMove(int x, int y);
    void AlbumListPanelMouseMove(int x, int y);
    void SongsListBoxMouseMove();
    void FormMouseMove();

    // A song found by the lyrics search, chosen as the user would choose it (each list's
    // handler runs, warnings included); the text pane then shows `line` selected.
    void ShowFoundSong(const QByteArray& performer, const QByteArray& album, const QByteArray& song,
                       int line);

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
    void createSearchCommand();
    void createHistoryCommands();
    // The undo and redo entries name the steps they would play, and work in edit mode only.
    void showHistory();
    void connectHandlers();
    void assignHints();
    void setEditButtonsVisible(bool visible);
    void connectSession();
    void showPerformers();
    void showAlbums();
    void showSongs();
    // Fill the text pane with text lines and show its first line.
    void SetSongText(const Lines& lines);
    void showAlbumPicture(const QByteArray& data);
    // Opens a dialog after filling its line buffer; nothing when the lines cannot be read.
    void execWithBuffer(QDialog* dialog, EditorBuffer& buffer, const std::optional<Lines>& lines,
                        const CommandTarget& target);
    // After the files were read again: every list, the text and the picture as the session
    // holds them.
    void showSelection();
    // The lists' selected entries as the session holds them, the lists unchanged.
    void showSelectedEntries();
    void runCommand(Command& command);
    // The print dialog with the songbook's options tab, then the book (MainFormPrint.cpp).
    void printSongbook(const PrintedBook& book, const QString& documentName);

    CatalogueSession& session_;
    EditorBuffers& buffers_;
    Dialogs dialogs_{};
    HoverPanels* hover_ = nullptr;
    // The session's commands started here tell the user in boxes over this window.
    WidgetFeedback feedback_{this};
    bool editing_ = false;
    bool fillingSongs_ = false;
    bool rowChangedInThisPress_ = false;
    // The font and colour dialogs remember the last choice for the rest of the run.
    QFont fontDialogFont_;
    QColor fontDialogColour_;
    QColor colorDialogColour_ = Qt::black;
    // The songbook's choices in the print dialog, kept for the rest of the run once made.
    std::shared_ptr<SongbookOptions> songbookOptions_;
};
