#pragma once

namespace rizorivu::ui {

// A dialog's number in the open-dialog chain. Codes arrive as parent codes from openers and
// may be anything; a walk acts only on those it knows.
enum class DialogCode : int {
    None = -1,  // the main window's parent
    Main = 0,
    GeneralSettings = 1,
    AdvancedSettings = 2,
    WepKeys = 3,
    Information = 4,
    AccessPointSettings = 5,
    MacFilter = 6,
    WpaSettings = 7,
};

constexpr int toInt(DialogCode code) {
    return static_cast<int>(code);
}

}  // namespace rizorivu::ui
