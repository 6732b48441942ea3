#pragma once

#include "ui/RangeControl.h"

namespace rizorivu::ui {

// A horizontal slider. Page size is the step of a click beside the thumb, tick spacing the
// distance between tick marks; both only shape what the view does with the user's moves.
class Slider final : public RangeControl {
public:
    int pageSize() const { return pageSize_; }
    int tickSpacing() const { return tickSpacing_; }

    void setPageSize(int pageSize);
    void setTickSpacing(int tickSpacing);

private:
    int pageSize_ = 1;
    int tickSpacing_ = 1;
};

}  // namespace rizorivu::ui
