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
    // The access point's element as the survey showed it, id, length byte and body: the WPA
    // element, or the RSN element when the stored mode is WPA2 or WPA2-PSK.
    std::vector<std::uint8_t> wpaElement;
    int cipherCode = 0;
    int authenticationMode = -1;  // as stored
};

}  // namespace rizorivu::wpa
