#include "ui/Slider.h"

namespace rizorivu::ui {

void Slider::setPageSize(int pageSize) {
    if (pageSize_ == pageSize) {
        return;
    }
    pageSize_ = pageSize;
    notify(Change::Range);
}

void Slider::setTickSpacing(int tickSpacing) {
    if (tickSpacing_ == tickSpacing) {
        return;
    }
    tickSpacing_ = tickSpacing;
    notify(Change::Range);
}

}  // namespace rizorivu::ui
