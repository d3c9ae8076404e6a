#pragma once

#include "support/Form.h"

// Placeholder: this window is being built.
class TAddPerfSelectForm : public Form {
    Q_OBJECT
  public:
    explicit TAddPerfSelectForm(QWidget* parent = nullptr);
};
