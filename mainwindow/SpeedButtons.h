#pragma once

#include <QIcon>
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
    // Each picture is read once for all the buttons that show it.
    const QIcon& iconFor(SpeedIcon icon) const;
    QToolButton* make(QWidget* parent, SpeedIcon icon, const QRect& geometry, int iconSize) const;

    QWidget* window_;
    mutable QIcon icons_[int(SpeedIcon::Document) + 1];
};
