#include "wpa/CipherTables.h"

#include "adapter/AuthenticationMode.h"
#include "adapter/KeyNegotiationContext.h"
#include "adapter/WepStatus.h"

namespace rizorivu::wpa {

std::optional<int> cipherCodeOf(std::int32_t wepStatus, std::int32_t wepKeyLength) {
    switch (static_cast<WepStatus>(wepStatus)) {
        case WepStatus::WepEnabled:
            if (wepKeyLength == 128) {
                return ciphercode::kWep104;
            }
            if (wepKeyLength == 256) {
                return std::nullopt;
            }
            return ciphercode::kWep40;
        case WepStatus::TkipEnabled:
            return ciphercode::kTkip;
        case WepStatus::AesEnabled:
            return ciphercode::kCcmp;
        default:
            return std::nullopt;
    }
}

std::optional<SupplicantMethod> methodOf(std::int32_t authenticationMode,
                                         std::int32_t dot1xProtocol) {
    switch (static_cast<AuthenticationMode>(authenticationMode)) {
        case AuthenticationMode::Wpa:
        case AuthenticationMode::Wpa2:
            if (dot1xProtocol == 0) {
                return SupplicantMethod::Tls;
            }
            if (dot1xProtocol == 1) {
                return SupplicantMethod::Peap;
            }
            return std::nullopt;
        case AuthenticationMode::WpaPsk:
        case AuthenticationMode::WpaNone:
        case AuthenticationMode::Wpa2Psk:
            return SupplicantMethod::PreSharedKey;
        default:
            return std::nullopt;
    }
}

}  // namespace rizorivu::wpa
