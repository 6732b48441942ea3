#include "ui/DropDownList.h"

#include <algorithm>

namespace rizorivu::ui {

std::string DropDownList::selectedItem() const {
    return selected_ >= 0 ? items_[selected_] : std::string();
}

int DropDownList::indexOf(std::string_view text) const {
    const auto it = std::find(items_.begin(), items_.end(), text);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void DropDownList::clear() {
    setItems({});
}

int DropDownList::addItem(std::string_view text) {
    items_.emplace_back(text);
    notify(Change::Items);
    return count() - 1;
}

void DropDownList::setItems(std::vector<std::string> items) {
    // The selection goes before anyone hears of the new items, so that no observer sees an
    // index into a list that no longer has it.
    const bool hadSelection = selected_ >= 0;
    selected_ = -1;
    if (items_ != items) {
        items_ = std::move(items);
        notify(Change::Items);
    }
    if (hadSelection) {
        notify(Change::Selection);
    }
    if (editable_) {
        setText({});
    }
}

bool DropDownList::select(int index) {
    const int chosen = index >= 0 && index < count() ? index : -1;
    choose(chosen);
    if (editable_) {
        setText(chosen >= 0 ? std::string_view(items_[chosen]) : std::string_view());
    }
    return chosen >= 0;
}

void DropDownList::setEditText(std::string_view text) {
    choose(-1);
    setText(text);
}

void DropDownList::choose(int index) {
    if (selected_ != index) {
        selected_ = index;
        notify(Change::Selection);
    }
}

}  // namespace rizorivu::ui
