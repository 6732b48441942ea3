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
    Wpa2 = 6,     // WPA2 (the RSN element) with 802.1X
    Wpa2Psk = 7,
};

constexpr bool isWpa2(AuthenticationMode mode) {
    return mode == AuthenticationMode::Wpa2 || mode == AuthenticationMode::Wpa2Psk;
}

constexpr bool isWpa(AuthenticationMode mode) {
    return mode == AuthenticationMode::Wpa || mode == AuthenticationMode::WpaPsk ||
           mode == AuthenticationMode::WpaNone || isWpa2(mode);
}

// WPA and WPA2 with an access point, by 802.1X or pre-shared key: WPA-None (ad hoc) is not.
constexpr bool isWpaInfrastructure(AuthenticationMode mode) {
    return isWpa(mode) && mode != AuthenticationMode::WpaNone;
}

// The modes whose key comes from 802.1X authentication rather than from a passphrase.
constexpr bool usesEap(AuthenticationMode mode) {
    return mode == AuthenticationMode::Wpa || mode == AuthenticationMode::Wpa2;
}

}  // namespace rizorivu
