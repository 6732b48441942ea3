#pragma once

#include "ui/Control.h"

namespace rizorivu::ui {

// Static text: a caption beside a field, a value shown read-only, a dialog's window title.
class Label final : public Control {};

}  // namespace rizorivu::ui
