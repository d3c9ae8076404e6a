#pragma once

#include "support/Form.h"

class PictureView;

// The large picture window: the album picture alone, scaled to fit a window the user can
// resize. It is the only secondary window that is not modal; closing it only hides it, with
// its picture kept for the next opening.
class TImageForm : public Form {
    Q_OBJECT
  public:
    explicit TImageForm(CatalogueSession& session, QWidget* parent = nullptr);

    // The picture, filling the whole client area.
    PictureView* Image1;

    // The outer size (frame and caption included) the window has when first shown.
    static constexpr QSize kStartSize{424, 540};

    // The main window shows this picture of the chosen album: the window holds the same one,
    // shown or not.
    void TakePicture(const QImage& picture);
    // "Открыть большое окно".
    void ShowLarge(const QImage& picture);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void placeAtStart();
    void showSelection();
    bool placed_ = false;
};
