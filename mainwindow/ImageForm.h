#pragma once

#include "support/Form.h"

class PictureView;

// Placeholder: this window is being built.
class TImageForm : public Form {
    Q_OBJECT
  public:
    explicit TImageForm(QWidget* parent = nullptr);

    PictureView* Image1;
};
