#include "ui/RangeControl.h"

#include <algorithm>

namespace rizorivu::ui {

void RangeControl::setRange(int minimum, int maximum) {
    maximum = std::max(minimum, maximum);
    if (minimum_ != minimum || maximum_ != maximum) {
        minimum_ = minimum;
        maximum_ = maximum;
        notify(Change::Range);
    }
    setPosition(position_);
}

void RangeControl::setPosition(int position) {
    position = clamp(position);
    if (position_ == position) {
        return;
    }
    position_ = position;
    notify(Change::Position);
}

int RangeControl::clamp(int position) const {
    return std::clamp(position, minimum_, maximum_);
}

}  // namespace rizorivu::ui
