#pragma once

#include "support/Form.h"

// Placeholder: this window is being built.
class TSongNameEditForm : public Form {
    Q_OBJECT
  public:
    explicit TSongNameEditForm(QWidget* parent = nullptr);
};
