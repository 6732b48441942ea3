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

// The same for the area's RSN element (WPA2), which must parse as a whole (RsnElement): one
// that does not is dropped and counts as absent. Of the suites offered it names those a station
// takes: CCMP before TKIP, and 802.1X or pre-shared key whichever comes first, so that a network
// that also offers newer key management still takes WPA2 stations. A network offering neither
// gives the type of its first suite, 0xFF for one of no known number.
WpaSuiteTypes rsnSuiteTypes(std::span<const std::uint8_t> elementArea);

}  // namespace rizorivu
