#include "mainwindow/SpeedButtons.h"

const QIcon& SpeedButtons::iconFor(SpeedIcon icon) const {
    static const char* const files[] = {"cog",         "help", "stop", "magnifier", "open-folder",
                                        "prohibition", "pen",  "play", "clipboard", "document"};
    QIcon& cached = icons_[int(icon)];
    if (cached.isNull())
        cached = QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(files[int(icon)])));
    return cached;
}

QToolButton* SpeedButtons::make(QWidget* parent, SpeedIcon icon, const QRect& geometry,
                                int iconSize) const {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);  // flat until the pointer is over it
    button->setIcon(iconFor(icon));
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
