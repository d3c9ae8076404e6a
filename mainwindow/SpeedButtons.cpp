#include "mainwindow/SpeedButtons.h"

#include <QIcon>

namespace {

QString PictureFile(SpeedIcon icon) {
    static const char* const files[] = {"cog",         "help", "stop", "magnifier", "open-folder",
                                        "prohibition", "pen",  "play", "clipboard", "document"};
    return QStringLiteral(":/icons/%1.svg").arg(QLatin1String(files[int(icon)]));
}

// A picture button that reads its picture when it first shows: most of the main window's
// buttons belong to edit mode and are hidden at start, and reading an SVG picture costs as
// much as making the button.
class PictureButton : public QToolButton {
  public:
    PictureButton(QWidget* parent, SpeedIcon picture) : QToolButton(parent), picture_(picture) {}

  protected:
    void showEvent(QShowEvent* event) override {
        if (icon().isNull()) setIcon(QIcon(PictureFile(picture_)));
        QToolButton::showEvent(event);
    }

  private:
    SpeedIcon picture_;
};

}  // namespace

QToolButton* SpeedButtons::make(QWidget* parent, SpeedIcon icon, const QRect& geometry,
                                int iconSize) const {
    auto* button = new PictureButton(parent, icon);
    button->setAutoRaise(true);  // flat until the pointer is over it
    button->setIconSize(QSize(iconSize, iconSize));
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QToolButton* SpeedButtons::small(SpeedIcon icon, int left, int top) const {
    return make(window_, icon, QRect(left, top, 23, 22), 16);
}

QToolButton* SpeedButtons::large(QWidget* panel, SpeedIcon icon, int left, int top) const {
    return make(panel, icon, QRect(left, top, 48, 48), 40);
}
