#pragma once

#include "ui/Control.h"

namespace rizorivu::ui {

// A push button. Its press is a user action: the view calls the dialog's handler. At most one
// button of a dialog is its default button, the one Enter presses (the dialog decides which,
// and when).
class Button final : public Control {
public:
    bool isDefault() const { return default_; }
    void setDefault(bool isDefault);

private:
    bool default_ = false;
};

}  // namespace rizorivu::ui
