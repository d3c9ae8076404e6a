#pragma once

#include <QToolButton>

enum class SpeedIcon {
    Cog,
    Help,
    Stop,
    Magnifier,
    OpenFolder,
    Prohibition,
    Pen,
    Play,
    Clipboard,
    Document
};

// Makes the main window's flat picture buttons: small 23x22 ones on the window and large
// 48x48 ones on the hover panels.
class SpeedButtons {
  public:
    explicit SpeedButtons(QWidget* window) : window_(window) {}
    QToolButton* small(SpeedIcon icon, int left, int top) const;
    QToolButton* large(QWidget* panel, SpeedIcon icon, int left, int top) const;

  private:
    QToolButton* make(QWidget* parent, SpeedIcon icon, const QRect& geometry, int iconSize) const;

    QWidget* window_;
};
