#include "ui/station/GeneralSettingsLists.h"

#include <algorithm>

#include "adapter/AuthenticationMode.h"
#include "adapter/DriverCode.h"
#include "settings/NumberText.h"

namespace rizorivu::ui {

namespace {

constexpr int kStoredAdHoc = 0;
constexpr int kStoredInfrastructure = 1;
constexpr int kStoredPseudoIbss = 3;
constexpr int kPseudoIbssPosition = 2;

constexpr int kWepEnabled = 0;
constexpr int kWepDisabled = 1;
constexpr int kTkip = 4;
constexpr int kAes = 6;
constexpr int kHighestWepStatus = 7;

constexpr int kAutoSwitchPosition = 2;
// The positions in list order, each with its mode.
constexpr AuthenticationMode kAuthenticationPositions[] = {
    AuthenticationMode::Open,   AuthenticationMode::SharedKey, AuthenticationMode::AutoSwitch,
    AuthenticationMode::Wpa,    AuthenticationMode::WpaPsk,    AuthenticationMode::Wpa2,
    AuthenticationMode::Wpa2Psk};
constexpr int kLowestStoredAuthentication = toDriver(AuthenticationMode::Open);
constexpr int kHighestStoredAuthentication = toDriver(AuthenticationMode::Wpa2Psk);

constexpr int kAutoRatePosition = 0;
constexpr std::uint8_t kBasicRateBit = 0x80;
constexpr int kFallbackFirstChannel = 1;
constexpr int kFallbackLastChannel = 14;

}  // namespace

int networkTypeOfPosition(int position) {
    switch (position) {
        case kAdHocPosition:
            return kStoredAdHoc;
        case kPseudoIbssPosition:
            return kStoredPseudoIbss;
        default:
            return kStoredInfrastructure;
    }
}

int positionOfNetworkType(int networkType) {
    switch (networkType) {
        case kStoredAdHoc:
            return kAdHocPosition;
        case kStoredPseudoIbss:
            return kPseudoIbssPosition;
        default:
            return kInfrastructurePosition;
    }
}

bool usesWpaEncryptionList(int wpaMode, int networkTypePosition) {
    return wpaMode != 0 && (networkTypePosition == kInfrastructurePosition ||
                            networkTypePosition == kPseudoIbssPosition);
}

bool offersWpaAuthentication(int wpaMode, int networkTypePosition) {
    return wpaMode != 0 && networkTypePosition != kAdHocPosition;
}

int encryptionPositionOfWepStatus(bool wpaList, int wepStatus) {
    // Values the adapter reports but this list never writes (key absent, not supported) show
    // as disabled, like a value outside the range.
    if (wpaList) {
        switch (wepStatus) {
            case kWepEnabled:
                return 1;
            case kTkip:
                return 2;
            case kAes:
                return 3;
            default:
                return 0;
        }
    }
    return wepStatus == kWepEnabled ? 0 : 1;
}

int positionOfAuthenticationMode(int authenticationMode) {
    const auto* end = std::end(kAuthenticationPositions);
    const auto* found = std::find(std::begin(kAuthenticationPositions), end,
                                  fromDriver<AuthenticationMode>(authenticationMode));
    return found != end ? static_cast<int>(found - std::begin(kAuthenticationPositions)) : -1;
}

int authenticationModeOfPosition(int position) {
    return position >= 0 && position < static_cast<int>(std::size(kAuthenticationPositions))
               ? toDriver(kAuthenticationPositions[position])
               : -1;
}

int loadedAuthenticationPosition(int authenticationMode) {
    // A stored WPA-None selects nothing, as it always did: the list has no item for it.
    return authenticationMode >= kLowestStoredAuthentication &&
                   authenticationMode <= kHighestStoredAuthentication
               ? positionOfAuthenticationMode(authenticationMode)
               : kAutoSwitchPosition;
}

int rebuiltAuthenticationPosition(int authenticationMode, bool wpaOffered, int count) {
    if (!wpaOffered && authenticationMode > kAutoSwitchPosition) {
        return kAutoSwitchPosition < count ? kAutoSwitchPosition : -1;
    }
    const int position = positionOfAuthenticationMode(authenticationMode);
    return position >= 0 && position < count ? position : -1;
}

int appliedAuthenticationMode(int position, bool wpaOffered) {
    if (!wpaOffered && position > kAutoSwitchPosition) {
        position = kAutoSwitchPosition;
    }
    return authenticationModeOfPosition(position);
}

std::string rateItemText(std::uint8_t rate, std::string_view unit) {
    rate &= static_cast<std::uint8_t>(~kBasicRateBit);
    std::string text = rate % 2 == 0 ? decimalText(rate / 2) : fixedText(rate / 2.0, 1);
    text += ' ';
    text += unit;
    return text;
}

int ratePositionOfDesiredRates(std::span<const std::uint8_t> desired,
                               std::span<const std::uint8_t, adapterbuf::kRateBytes> supported) {
    const auto supportedEnd = std::find(supported.begin(), supported.end(), std::uint8_t{0});
    int matches = 0;
    int position = kAutoRatePosition;
    for (const std::uint8_t rate : desired) {
        if (rate == 0) {
            break;
        }
        const auto found = std::find(supported.begin(), supportedEnd, rate);
        if (found != supportedEnd) {
            ++matches;
            position = static_cast<int>(found - supported.begin()) + 1;
        }
    }
    return matches == 1 ? position : kAutoRatePosition;
}

std::vector<std::uint8_t> offeredChannels(int queryResult, std::span<const std::uint8_t> channels,
                                          int count) {
    if (queryResult != 0 || count <= 0) {
        std::vector<std::uint8_t> fallback;
        for (int channel = kFallbackFirstChannel; channel <= kFallbackLastChannel; ++channel) {
            fallback.push_back(static_cast<std::uint8_t>(channel));
        }
        return fallback;
    }
    const std::size_t kept =
        std::min({static_cast<std::size_t>(count), channels.size(), adapterbuf::kMaxChannels});
    return {channels.begin(), channels.begin() + static_cast<std::ptrdiff_t>(kept)};
}

}  // namespace rizorivu::ui
