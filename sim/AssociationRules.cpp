#include "sim/AssociationRules.h"

#include <algorithm>

#include "sim/SignalModel.h"

namespace rizorivu::sim {

namespace {

enum class Fit { Refused, Associates, AssociatesWithoutData, AfterKeys, AfterGroupKey };

WepStatus cipherStatus(Cipher cipher) {
    return cipher == Cipher::Aes ? WepStatus::AesEnabled : WepStatus::TkipEnabled;
}

// Whether the station's authentication is one of the WPA versions the network speaks.
bool wpaVersionFits(const WorldNetwork& network, const ModeSettings& s, AuthenticationMode wpa,
                    AuthenticationMode wpa2) {
    const bool wantsWpa2 = s.authenticationMode == wpa2;
    if (!wantsWpa2 && s.authenticationMode != wpa) {
        return false;
    }
    switch (network.wpaVersions) {
        case WpaVersions::Wpa:
            return !wantsWpa2;
        case WpaVersions::Wpa2:
            return wantsWpa2;
        default:
            return true;
    }
}

Fit wepFit(const WorldNetwork& network, const ModeSettings& s) {
    if (s.wepStatus != WepStatus::WepEnabled ||
        s.authenticationMode > AuthenticationMode::AutoSwitch) {
        return Fit::Refused;
    }
    const bool keyRight = s.keys[static_cast<std::size_t>(s.transmitKey)].matches(network.wepKey);
    const bool sharedAllowed = network.wepAuthentication != WepAuthentication::OpenOnly;
    const bool openAllowed = network.wepAuthentication != WepAuthentication::SharedOnly;
    if (s.authenticationMode == AuthenticationMode::SharedKey) {
        return sharedAllowed && keyRight ? Fit::Associates : Fit::Refused;
    }
    if (s.authenticationMode == AuthenticationMode::AutoSwitch && sharedAllowed && keyRight) {
        return Fit::Associates;
    }
    if (!openAllowed) {
        return Fit::Refused;
    }
    return keyRight ? Fit::Associates : Fit::AssociatesWithoutData;
}

Fit securityFit(const WorldNetwork& network, const ModeSettings& s) {
    switch (network.security) {
        case Security::Open:
            return s.wepStatus == WepStatus::Disabled &&
                           (s.authenticationMode == AuthenticationMode::Open ||
                            s.authenticationMode == AuthenticationMode::AutoSwitch)
                       ? Fit::Associates
                       : Fit::Refused;
        case Security::Wep:
            return wepFit(network, s);
        case Security::WpaPsk: {
            const bool cell = network.type == BssType::AdHoc;
            const bool versionFits = cell ? s.authenticationMode == AuthenticationMode::WpaNone
                                          : wpaVersionFits(network, s, AuthenticationMode::WpaPsk,
                                                           AuthenticationMode::Wpa2Psk);
            if (!versionFits || s.wepStatus != cipherStatus(network.cipher)) {
                return Fit::Refused;
            }
            return cell ? Fit::AfterGroupKey : Fit::AfterKeys;
        }
        case Security::WpaEap:
            return wpaVersionFits(network, s, AuthenticationMode::Wpa, AuthenticationMode::Wpa2) &&
                           s.wepStatus == cipherStatus(network.cipher)
                       ? Fit::AfterKeys
                       : Fit::Refused;
    }
    return Fit::Refused;
}

DataPath dataPathOf(Fit fit) {
    switch (fit) {
        case Fit::AssociatesWithoutData:
            return DataPath::TransmitOnly;
        case Fit::AfterKeys:
            return DataPath::AfterKeys;
        case Fit::AfterGroupKey:
            return DataPath::AfterGroupKey;
        default:
            return DataPath::Flows;
    }
}

bool typeFits(BssType type, NetworkType networkType) {
    switch (networkType) {
        case NetworkType::AdHoc:
            return type == BssType::AdHoc;
        case NetworkType::Infrastructure:
            return type == BssType::Infrastructure;
        case NetworkType::AutoUnknown:
            return true;
        default:
            return false;
    }
}

bool mayUse(std::span<const std::uint8_t> channels, int channel) {
    return std::find(channels.begin(), channels.end(), channel) != channels.end();
}

// A locally administered address of the adapter's own cell, derived from its MAC address
// and the cell's SSID, so that the same cell gets the same BSSID every time.
MacAddress ownCellBssid(const MacAddress& mac, std::string_view ssid) {
    std::uint32_t h = 2166136261u;  // FNV-1a
    for (const char c : ssid) {
        h = (h ^ static_cast<std::uint8_t>(c)) * 16777619u;
    }
    MacAddress bssid = mac;
    bssid[0] = static_cast<std::uint8_t>((mac[0] | 0x02) & 0xFE);
    bssid[3] ^= static_cast<std::uint8_t>(h >> 16);
    bssid[4] ^= static_cast<std::uint8_t>(h >> 8);
    bssid[5] ^= static_cast<std::uint8_t>(h);
    return bssid;
}

}  // namespace

int bestCommonRate(const RateBytes& a, const RateBytes& b) {
    int best = 0;
    for (const std::uint8_t x : a) {
        const int rate = x & 0x7F;
        if (rate > best &&
            std::any_of(b.begin(), b.end(), [&](std::uint8_t y) { return (y & 0x7F) == rate; })) {
            best = rate;
        }
    }
    return best;
}

AssociationOutcome chooseAssociation(const World& world, const StationRequest& request) {
    const ModeSettings& s = request.settings;
    AssociationOutcome none;
    // An empty SSID names no network: the station takes any it may join.
    const bool anyNetwork = s.ssid.empty();
    // The rates the station can use at all: those it supports and wants.
    RateBytes usable{};
    std::size_t usableCount = 0;
    for (const std::uint8_t r : request.desiredRates) {
        const int rate = r & 0x7F;
        if (rate != 0 && bestCommonRate(RateBytes{static_cast<std::uint8_t>(rate)},
                                        request.supportedRates) == rate) {
            usable[usableCount++] = static_cast<std::uint8_t>(rate);
        }
    }
    const int ownRate = bestCommonRate(usable, usable);

    if (request.networkType == NetworkType::PseudoIbss) {
        if (anyNetwork || !mayUse(request.channels, s.channel) || ownRate == 0) {
            return none;
        }
        return AssociationOutcome{LinkKind::PseudoIbss,  0, MacAddress{}, s.channel, ownRate * 500,
                                  DataPath::TransmitOnly};
    }

    std::optional<std::size_t> chosen;
    AssociationOutcome best;
    for (std::size_t i = 0; i < world.networks.size(); ++i) {
        const WorldNetwork& n = world.networks[i];
        const bool named = anyNetwork ? !n.hidden : n.ssid == s.ssid;
        if (!named || (request.bssid && *request.bssid != n.bssid) ||
            !mayUse(request.channels, n.channel) || n.signalDbm < SignalModel::kSensitivityDbm ||
            !typeFits(n.type, request.networkType)) {
            continue;
        }
        const int rate = bestCommonRate(n.rates, usable);
        const Fit fit = securityFit(n, s);
        if (rate == 0 || fit == Fit::Refused) {
            continue;
        }
        if (chosen) {
            const WorldNetwork& current = world.networks[*chosen];
            const bool infraFirst = current.type != n.type;
            const bool better =
                infraFirst ? n.type == BssType::Infrastructure : n.signalDbm > current.signalDbm;
            if (!better) {
                continue;
            }
        }
        chosen = i;
        best = AssociationOutcome{
            n.type == BssType::AdHoc ? LinkKind::JoinedCell : LinkKind::Infrastructure,
            i,
            n.bssid,
            n.channel,
            rate * 500,
            dataPathOf(fit)};
    }
    if (chosen) {
        return best;
    }
    if (request.networkType == NetworkType::AdHoc && !anyNetwork && !request.bssid &&
        mayUse(request.channels, s.channel) && ownRate != 0) {
        return AssociationOutcome{LinkKind::StartedCell,
                                  0,
                                  ownCellBssid(request.ownMac, s.ssid),
                                  s.channel,
                                  ownRate * 500,
                                  DataPath::Silent};
    }
    return none;
}

}  // namespace rizorivu::sim
