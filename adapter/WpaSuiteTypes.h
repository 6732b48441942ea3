#pragma once

#include <cstdint>
#include <span>

namespace rizorivu {

// What joining a network needs of its WPA element: whether it has one, and the type bytes of
// its first pairwise cipher suite and first key-management suite (0 when it lists none).
struct WpaSuiteTypes {
    bool seen = false;
    int pairwise = 0;
    int keyManagement = 0;
};

// Reads the suite types of the area's WPA element (see findWpaElement). The element comes
// from the air: a count that claims more suites than the element holds gives no type for that
// list and for the lists after it.
WpaSuiteTypes wpaSuiteTypes(std::span<const std::uint8_t> elementArea);

}  // namespace rizorivu
