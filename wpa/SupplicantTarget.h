#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace rizorivu::wpa {

// What every supplicant loop connects to, fixed for the loop's whole run: a change of access
// point or SSID takes a new worker.
struct SupplicantTarget {
    std::array<std::uint8_t, 6> bssid{};
    std::array<std::uint8_t, 6> ownMac{};
    // The access point's WPA element as the survey showed it: id, length byte and body.
    std::vector<std::uint8_t> wpaElement;
    int cipherCode = 0;
};

}  // namespace rizorivu::wpa
