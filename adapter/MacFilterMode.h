#pragma once

namespace rizorivu {

// SetWLAP_FilterMode: which stations the access point's MAC filter list lets in.
enum class MacFilterMode : int {
    Off = 0,
    AdmitListed = 1,
    RefuseListed = 2,
};

}  // namespace rizorivu
