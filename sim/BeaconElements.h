#pragma once

#include <cstdint>
#include <vector>

#include "sim/BssDescription.h"

namespace rizorivu::sim {

// WPA suite types under the OUI 00-50-F2.
constexpr std::uint8_t kSuiteTkip = 2;
constexpr std::uint8_t kSuiteCcmp = 4;
constexpr std::uint8_t kAkm8021x = 1;
constexpr std::uint8_t kAkmPsk = 2;

// The WPA vendor element (id 221, OUI 00-50-F2, type 1, version 1) with the network's cipher
// as group and only pairwise cipher and one key management suite: 802.1X or pre-shared key
// (an ad-hoc WPA-PSK cell advertises the pre-shared key too). Empty for a network without WPA.
std::vector<std::uint8_t> wpaElement(Security security, Cipher cipher);

// The variable elements of a beacon, in the order of the standard: SSID (empty for a hidden
// network), supported rates (at most eight, the rest in an extended-rates element), DS
// parameter set (the channel), the IBSS parameter set of an ad-hoc cell, and the WPA element.
std::vector<std::uint8_t> beaconElements(const BssDescription& bss);

}  // namespace rizorivu::sim
