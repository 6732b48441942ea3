#pragma once

#include "ui/Control.h"

namespace rizorivu::ui {

// A push button. Its press is a user action: the view calls the dialog's handler.
class Button final : public Control {};

}  // namespace rizorivu::ui
