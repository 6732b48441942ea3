#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Control.h"

namespace rizorivu::ui {

// A drop-down list: items and the selected index, -1 when none is selected. An editable list
// (a combination box the user can type into) keeps the typed text as its text. As in the
// window system, selecting an item puts the item's text there, selecting none or clearing the
// list empties it, and typing leaves no item selected.
class DropDownList final : public Control {
public:
    explicit DropDownList(bool editable = false) : editable_(editable) {}

    bool editable() const { return editable_; }
    const std::vector<std::string>& items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }
    int selected() const { return selected_; }
    // The selected item's text, empty when none is selected.
    std::string selectedItem() const;
    // Position of the first item equal to `text`, -1 when there is none.
    int indexOf(std::string_view text) const;

    // Removes every item; nothing is selected afterwards.
    void clear();
    // Appends an item and answers its position; the selection stays.
    int addItem(std::string_view text);
    // clear() and addItem() of each.
    void setItems(std::vector<std::string> items);
    // An index outside 0 .. count-1 selects nothing; answers whether an item is selected.
    bool select(int index);
    // What the user's typing does to an editable list: the text changes, no item is selected.
    void setEditText(std::string_view text);

private:
    void choose(int index);

    bool editable_;
    std::vector<std::string> items_;
    int selected_ = -1;
};

}  // namespace rizorivu::ui
