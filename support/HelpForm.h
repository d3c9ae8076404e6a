#pragma once

#include "support/Form.h"

// Placeholder: this window is being built.
class THelpForm : public Form {
    Q_OBJECT
  public:
    explicit THelpForm(QWidget* parent = nullptr);
};
