#pragma once

#include "support/Form.h"

// Placeholder: this window is being built.
class TScanerForm : public Form {
    Q_OBJECT
  public:
    explicit TScanerForm(QWidget* parent = nullptr);
};
