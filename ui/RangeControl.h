#pragma once

#include "ui/Control.h"

namespace rizorivu::ui {

// A position inside a range, shared by sliders and progress bars. As in the window system the
// position always lies inside the range: setting it outside, or a range that excludes it,
// moves it to the nearer end.
class RangeControl : public Control {
public:
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int position() const { return position_; }

    // A maximum below the minimum is taken as the minimum.
    void setRange(int minimum, int maximum);
    void setPosition(int position);

protected:
    RangeControl() = default;
    ~RangeControl() = default;

private:
    int clamp(int position) const;

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};

}  // namespace rizorivu::ui
