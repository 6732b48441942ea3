#pragma once

namespace rizorivu {

// SetWL_OperationMode_STA_AP and QueryWL_OperationMode_STA_AP.
enum class OperationMode : int {
    Station = 0,
    AccessPoint = 1,
};

}  // namespace rizorivu
