#pragma once

namespace rizorivu {

// QueryWL_CheckWZCStatus and SetWL_WZCStatus: who configures the adapter, the utility or the
// operating system's Zero Configuration service.
enum class ZeroConfigStatus : int {
    UtilityControls = 0,
    ServiceControls = 1,
    Third = 2,  // reported, never set: an adapter found so is not taken over at open
};

}  // namespace rizorivu
