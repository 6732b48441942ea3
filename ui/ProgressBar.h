#pragma once

#include "ui/RangeControl.h"

namespace rizorivu::ui {

// A bar filled in proportion to its position within its range (0-100 unless set).
class ProgressBar final : public RangeControl {};

}  // namespace rizorivu::ui
