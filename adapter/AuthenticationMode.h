#pragma once

namespace rizorivu {

// SetWL_AuthenticationMode and QueryWL_AuthenticationMode.
enum class AuthenticationMode : int {
    Open = 0,
    SharedKey = 1,
    AutoSwitch = 2,  // shared key first, then open system
    Wpa = 3,         // WPA with 802.1X
    WpaPsk = 4,
    WpaNone = 5,  // WPA-PSK in an ad-hoc cell
};

constexpr bool isWpa(AuthenticationMode mode) {
    return mode == AuthenticationMode::Wpa || mode == AuthenticationMode::WpaPsk ||
           mode == AuthenticationMode::WpaNone;
}

}  // namespace rizorivu
