#pragma once

#include <QImage>
#include <QWidget>

// Shows a picture scaled to the largest size that fits the widget with its proportions kept
// (small pictures are enlarged), centred, inside an optional margin.
class PictureView : public QWidget {
    Q_OBJECT
  public:
    explicit PictureView(QWidget* parent = nullptr, int margin = 0);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void clear();
    // Where the picture is drawn, in widget coordinates.
    QRect pictureRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
    int margin_;
};
