#pragma once

#include <string_view>

namespace rizorivu::sim {

// The radio world the simulated adapter runs in unless RIZORIVU_WORLD names another: the
// product's adapter and an Ethernet card, open, WEP, WPA-PSK (TKIP and AES) and WPA-802.1X
// access points, an ad-hoc cell, a hidden network, and three stations for access-point mode.
std::string_view defaultWorldText();

// How errors in the built-in world name their file.
constexpr std::string_view kDefaultWorldLabel = "<built-in world>";

}  // namespace rizorivu::sim
