#pragma once

#include <cstdint>
#include <vector>

#include "sim/BssDescription.h"

namespace rizorivu::sim {

// WPA suite types under the OUI 00-50-F2.
constexpr std::uint8_t kSuiteWep40 = 1;
constexpr std::uint8_t kSuiteTkip = 2;
constexpr std::uint8_t kSuiteCcmp = 4;
constexpr std::uint8_t kSuiteWep104 = 5;
constexpr std::uint8_t kAkmNone = 0;
constexpr std::uint8_t kAkm8021x = 1;
constexpr std::uint8_t kAkmPsk = 2;

// The WPA vendor element (id 221, OUI 00-50-F2, type 1, version 1): the group cipher, the
// network's cipher as only pairwise cipher and one key management suite: 802.1X, pre-shared
// key, or none for an ad-hoc WPA-PSK cell (WPA-None: no handshake, every member derives the
// key from the passphrase). Empty for a network without WPA. The access point's authenticator
// sends the same bytes in message 3, so that the station finds the element of its survey.
std::vector<std::uint8_t> wpaElement(Security security, BssType type, Cipher cipher,
                                     GroupCipher groupCipher);

// The RSN element of a WPA2 access point (id 48, version 1): the group cipher, the network's
// cipher as only pairwise cipher, one key management suite (802.1X or pre-shared key) and no
// capabilities. Empty for a network without WPA. Sent again in message 3, like the WPA element.
std::vector<std::uint8_t> rsnElement(Security security, Cipher cipher, GroupCipher groupCipher);

// The variable elements of a beacon, in the order of the standard: SSID (empty for a hidden
// network), supported rates (at most eight, the rest in an extended-rates element), DS
// parameter set (the channel), the IBSS parameter set of an ad-hoc cell, the RSN element of a
// WPA2 network and the WPA element of a WPA one (a mixed access point carries both).
std::vector<std::uint8_t> beaconElements(const BssDescription& bss);

}  // namespace rizorivu::sim
