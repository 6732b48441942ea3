#pragma once

namespace rizorivu {

// SetWL_PSMode and QueryWL_PSMode: the station's power consumption.
enum class PowerSaveMode : int {
    ContinuousAccess = 0,  // no power saving
    Maximum = 1,
    Fast = 2,
};

}  // namespace rizorivu
