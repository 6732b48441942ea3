#pragma once

namespace rizorivu::ui {

// How a modal run ended. The closing walks end dialogs with Closed.
enum class DialogResult : int {
    Closed = 0,
    Ok = 1,
    Cancel = 2,
};

}  // namespace rizorivu::ui
