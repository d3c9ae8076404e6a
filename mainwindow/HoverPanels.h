#pragma once

#include <QObject>

class QFrame;
class QLabel;
class QToolButton;
class QWidget;

// The edit mode's three hover panels: moving the pointer over a list's play button opens the
// panel of that list's commands beside it; moving on (over the form, the song list, or off the
// panel's buttons) closes it again. The labels a panel covers are hidden while it is open.
class HoverPanels : public QObject {
    Q_OBJECT
  public:
    struct Controls {
        QToolButton* PerformersSpeedButton;
        QToolButton* EdAlbumSpeedButton;
        QToolButton* SongsSpeedButton;
        QFrame* PerfListPanel;
        QFrame* AlbumListPanel;
        QFrame* SongsListPanel;
        QLabel* AlbomLabel;
        QLabel* PesniLabel;
        QWidget* SongsListArea;  // the song list's viewport
    };
    HoverPanels(const Controls& controls, QObject* parent);

    // Pointer-move rules; x, y in the moved-over control's coordinates.
    void PerformersSpeedButtonMouseMove();
    void EdAlbumSpeedButtonMouseMove();
    void SongsSpeedButtonMouseMove();
    void PerfListPanelMouseMove(int x, int y);
    void AlbumListPanelMouseMove(int x, int y);
    void SongsListBoxMouseMove();
    void FormMouseMove();

    // A panel's command was chosen: the panel closes, the labels it covered come back.
    void closePerformerPanel();
    void closeAlbumPanel();
    void closeSongsPanel();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Controls c_;
};
