#include "mainwindow/HoverPanels.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

HoverPanels::HoverPanels(const Controls& controls, QObject* parent)
    : QObject(parent), c_(controls) {
    for (QWidget* w :
         {static_cast<QWidget*>(c_.PerformersSpeedButton),
          static_cast<QWidget*>(c_.EdAlbumSpeedButton), static_cast<QWidget*>(c_.SongsSpeedButton),
          static_cast<QWidget*>(c_.PerfListPanel), static_cast<QWidget*>(c_.AlbumListPanel),
          c_.SongsListArea}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

void HoverPanels::PerformersSpeedButtonMouseMove() {
    c_.PerfListPanel->show();
    c_.PerfListPanel->raise();
    c_.AlbomLabel->hide();
    c_.PesniLabel->hide();
}

void HoverPanels::EdAlbumSpeedButtonMouseMove() {
    c_.PerfListPanel->hide();
    c_.AlbumListPanel->show();
    c_.AlbumListPanel->raise();
    c_.AlbomLabel->show();
    c_.PesniLabel->hide();
}

void HoverPanels::SongsSpeedButtonMouseMove() {
    c_.AlbumListPanel->hide();
    c_.SongsListPanel->show();
    c_.SongsListPanel->raise();
    c_.PesniLabel->show();
}

void HoverPanels::FormMouseMove() {
    c_.SongsListPanel->hide();
    c_.AlbumListPanel->hide();
    c_.PerfListPanel->hide();
    c_.PesniLabel->show();
    c_.AlbomLabel->show();
}

void HoverPanels::SongsListBoxMouseMove() {
    FormMouseMove();
}

void HoverPanels::PerfListPanelMouseMove(int x, int y) {
    if (x > 10 && (y <= 48 || y >= 51)) closePerformerPanel();
}

void HoverPanels::AlbumListPanelMouseMove(int x, int y) {
    if (x > 10 && y < 22) closeAlbumPanel();
}

void HoverPanels::closePerformerPanel() {
    c_.PerfListPanel->hide();
    c_.AlbomLabel->show();
    c_.PesniLabel->show();
}

void HoverPanels::closeAlbumPanel() {
    c_.AlbumListPanel->hide();
    c_.PesniLabel->show();
}

void HoverPanels::closeSongsPanel() {
    c_.SongsListPanel->hide();
}

bool HoverPanels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseMove) return QObject::eventFilter(watched, event);
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    if (watched == c_.PerformersSpeedButton)
        PerformersSpeedButtonMouseMove();
    else if (watched == c_.EdAlbumSpeedButton)
        EdAlbumSpeedButtonMouseMove();
    else if (watched == c_.SongsSpeedButton)
        SongsSpeedButtonMouseMove();
    else if (watched == c_.PerfListPanel && !c_.PerfListPanel->childAt(at))
        PerfListPanelMouseMove(at.x(), at.y());
    else if (watched == c_.AlbumListPanel && !c_.AlbumListPanel->childAt(at))
        AlbumListPanelMouseMove(at.x(), at.y());
    else if (watched == c_.SongsListArea)
        SongsListBoxMouseMove();
    return QObject::eventFilter(watched, event);
}
