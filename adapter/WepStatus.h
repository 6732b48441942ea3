#pragma once

namespace rizorivu {

// SetWL_WEPStatus and QueryWL_WEPStatus: the encryption in use. The numbers between them
// (key absent, not supported) are never set by the utility.
enum class WepStatus : int {
    WepEnabled = 0,
    Disabled = 1,
    TkipEnabled = 4,
    AesEnabled = 6,
};

}  // namespace rizorivu
