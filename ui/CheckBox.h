#pragma once

#include "ui/Control.h"

namespace rizorivu::ui {

// A two-state check box; its text is the caption.
class CheckBox final : public Control {
public:
    bool checked() const { return checked_; }
    void setChecked(bool checked);

private:
    bool checked_ = false;
};

}  // namespace rizorivu::ui
