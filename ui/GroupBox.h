#pragma once

#include "ui/Control.h"

namespace rizorivu::ui {

// The captioned frame around a group of controls.
class GroupBox final : public Control {};

}  // namespace rizorivu::ui
