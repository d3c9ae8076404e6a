#pragma once

#include "support/Form.h"

// Placeholder: this window is being built.
class TAvtorForm : public Form {
    Q_OBJECT
  public:
    explicit TAvtorForm(QWidget* parent = nullptr);
};
