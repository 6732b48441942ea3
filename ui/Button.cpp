#include "ui/Button.h"

namespace rizorivu::ui {

void Button::setDefault(bool isDefault) {
    if (default_ == isDefault) {
        return;
    }
    default_ = isDefault;
    notify(Change::Style);
}

}  // namespace rizorivu::ui
