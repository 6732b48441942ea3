#pragma once

#include <cstdint>
#include <optional>

namespace rizorivu::wpa {

// The supplicant loop a stored WPA method runs.
enum class SupplicantMethod { Tls, Peap, PreSharedKey };

// The cipher code handed to the 802.1X library for the stored "WEPStatus" and
// "WEPKeyLength": WEP 64 -> WEP-40, WEP 128 -> WEP-104, WEP of any other length but 256 ->
// WEP-40, TKIP, AES -> CCMP. Nothing for 256-bit WEP, which no WPA cipher carries, and for
// every other status: the worker then ends.
std::optional<int> cipherCodeOf(std::int32_t wepStatus, std::int32_t wepKeyLength);

// The method for the stored "AuthenticationMode" and "Dot1xProtocol": WPA and WPA2 with
// protocol 0 are EAP-TLS, with 1 PEAP; WPA-PSK, WPA-None and WPA2-PSK use the pre-shared key.
// Nothing otherwise.
std::optional<SupplicantMethod> methodOf(std::int32_t authenticationMode,
                                         std::int32_t dot1xProtocol);

}  // namespace rizorivu::wpa
