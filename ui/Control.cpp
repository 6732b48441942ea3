#include "ui/Control.h"

namespace rizorivu::ui {

void Control::setText(std::string_view text) {
    if (text_ == text) {
        return;
    }
    text_ = text;
    notify(Change::Text);
    textChanged();
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    notify(Change::Enabled);
}

void Control::setVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    notify(Change::Visible);
}

}  // namespace rizorivu::ui
