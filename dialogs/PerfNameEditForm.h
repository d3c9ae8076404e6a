#pragma once

#include "support/Form.h"

// Placeholder: this window is being built.
class TPerfNameEditForm : public Form {
    Q_OBJECT
  public:
    explicit TPerfNameEditForm(QWidget* parent = nullptr);
};
