#pragma once

namespace rizorivu {

// SetWL_NetworkType and QueryWL_NetworkType; a survey record's infrastructure mode uses the
// first three of these numbers too.
enum class NetworkType : int {
    AdHoc = 0,
    Infrastructure = 1,
    AutoUnknown = 2,  // either; the query then reports the type of the network joined
    PseudoIbss = 3,   // sends without any association
};

}  // namespace rizorivu
