#pragma once

#include "support/Form.h"

// Placeholder: this window is being built.
class TAddPerfBaseForm : public Form {
    Q_OBJECT
  public:
    explicit TAddPerfBaseForm(QWidget* parent = nullptr);
};
