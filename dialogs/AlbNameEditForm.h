#pragma once

#include "support/Form.h"

// Placeholder: this window is being built.
class TAlbNameEditForm : public Form {
    Q_OBJECT
  public:
    explicit TAlbNameEditForm(QWidget* parent = nullptr);
};
