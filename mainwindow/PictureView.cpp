#include "mainwindow/PictureView.h"

#include <QPainter>

PictureView::PictureView(QWidget* parent, int margin) : QWidget(parent), margin_(margin) {}

void PictureView::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PictureView::clear() {
    picture_ = QImage();
    update();
}

QRect PictureView::pictureRect() const {
    const QRect area = rect().adjusted(margin_, margin_, -margin_, -margin_);
    if (picture_.isNull() || area.isEmpty()) return QRect();
    const QSize fitted = picture_.size().scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(area.center());
    return target;
}

void PictureView::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), picture_);
}
