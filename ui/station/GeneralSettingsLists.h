#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "adapter/AdapterLibrary.h"

namespace rizorivu::ui {

// The list positions of the general settings and the values the adapter and the last settings
// know them by, in both directions. Positions count from 0; -1 is "nothing selected".

// Network type: 0 ad hoc, 1 infrastructure, 2 pseudo-IBSS (stored as 3).
constexpr int kAdHocPosition = 0;
constexpr int kInfrastructurePosition = 1;
int networkTypeOfPosition(int position);
int positionOfNetworkType(int networkType);

// Whether the encryption list offers TKIP and AES (the WPA list) for a network-type position.
bool usesWpaEncryptionList(int wpaMode, int networkTypePosition);
// Whether the authentication list offers the WPA modes for a network-type position.
bool offersWpaAuthentication(int wpaMode, int networkTypePosition);
// The encryption position that shows a stored "WEPStatus" in the WPA or the plain list.
int encryptionPositionOfWepStatus(bool wpaList, int wepStatus);
// Authentication: positions 0-4 are the modes 0-4 (open, shared, auto switch, WPA, WPA-PSK),
// 5 and 6 the modes 6 and 7 (WPA2, WPA2-PSK), which came after the list was laid out.
// WPA-None (5) has no position: -1.
int positionOfAuthenticationMode(int authenticationMode);
int authenticationModeOfPosition(int position);
// The authentication position opening the dialog selects for a stored "AuthenticationMode":
// its position, or auto switch for a value that is no mode.
int loadedAuthenticationPosition(int authenticationMode);
// The authentication position a rebuilt list selects for a stored "AuthenticationMode";
// -1 when the mode is no position of a list of `count` items.
int rebuiltAuthenticationPosition(int authenticationMode, bool wpaOffered, int count);
// The authentication mode Apply takes from a selection; -1 applies nothing.
int appliedAuthenticationMode(int position, bool wpaOffered);

// "11 Mbps", "5.5 Mbps": a rate byte in units of 500 kbit/s, the basic-rate bit cleared.
std::string rateItemText(std::uint8_t rate, std::string_view unit);
// The rate list position of a stored rate set: the one supported rate it names, or 0 ("Auto")
// when it names none or several.
int ratePositionOfDesiredRates(std::span<const std::uint8_t> desired,
                               std::span<const std::uint8_t, adapterbuf::kRateBytes> supported);

// The channels to offer from the adapter's answer: 1-14 when the query failed or named no
// channel, at most the first kMaxChannels otherwise.
std::vector<std::uint8_t> offeredChannels(int queryResult, std::span<const std::uint8_t> channels,
                                          int count);

}  // namespace rizorivu::ui
