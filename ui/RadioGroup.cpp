#include "ui/RadioGroup.h"

namespace rizorivu::ui {

RadioGroup::RadioGroup(int count) : buttons_(static_cast<std::size_t>(count > 0 ? count : 0)) {}

bool RadioGroup::select(int index) {
    const int chosen = has(index) ? index : -1;
    if (selected_ != chosen) {
        selected_ = chosen;
        notify(Change::Selection);
    }
    return chosen >= 0;
}

void RadioGroup::setButtonText(int index, std::string_view text) {
    if (!has(index) || buttons_[index].text == text) {
        return;
    }
    buttons_[index].text = text;
    notify(Change::Buttons);
}

void RadioGroup::setButtonEnabled(int index, bool enabled) {
    if (!has(index) || buttons_[index].enabled == enabled) {
        return;
    }
    buttons_[index].enabled = enabled;
    notify(Change::Buttons);
}

void RadioGroup::setButtonVisible(int index, bool visible) {
    if (!has(index) || buttons_[index].visible == visible) {
        return;
    }
    buttons_[index].visible = visible;
    notify(Change::Buttons);
}

void RadioGroup::setAllEnabled(bool enabled) {
    bool changed = false;
    for (auto& button : buttons_) {
        changed = changed || button.enabled != enabled;
        button.enabled = enabled;
    }
    if (changed) {
        notify(Change::Buttons);
    }
}

}  // namespace rizorivu::ui
