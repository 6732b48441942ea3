#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu::wpa {

// The WPA element (id, length byte, body) of the first survey record whose BSSID is `bssid`,
// by the shared element rule: the last WPA vendor element counts, other vendor elements
// never. Nothing when no record has that BSSID or its record carries no WPA element. The
// survey comes from the driver and is walked without trusting any count or length in it.
std::optional<std::vector<std::uint8_t>> surveyWpaElement(std::span<const std::uint8_t> survey,
                                                          std::span<const std::uint8_t, 6> bssid);

}  // namespace rizorivu::wpa
