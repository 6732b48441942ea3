#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Observable.h"

namespace rizorivu::ui {

// A fixed set of radio buttons of which at most one is chosen. Each button has its own caption,
// enabling and visibility; the selection is an index, -1 when none is chosen.
class RadioGroup final : public Observable {
public:
    struct RadioButton {
        std::string text;
        bool enabled = true;
        bool visible = true;
    };

    explicit RadioGroup(int count);

    int count() const { return static_cast<int>(buttons_.size()); }
    const RadioButton& button(int index) const { return buttons_.at(index); }
    int selected() const { return selected_; }

    // An index outside 0 .. count-1 chooses none; answers whether a button is chosen.
    bool select(int index);
    // Out-of-range indexes are ignored.
    void setButtonText(int index, std::string_view text);
    void setButtonEnabled(int index, bool enabled);
    void setButtonVisible(int index, bool visible);
    void setAllEnabled(bool enabled);

private:
    bool has(int index) const { return index >= 0 && index < count(); }

    std::vector<RadioButton> buttons_;
    int selected_ = -1;
};

}  // namespace rizorivu::ui
