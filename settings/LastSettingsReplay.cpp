#include "settings/LastSettingsReplay.h"

#include <algorithm>
#include <array>
#include <string>

#include "adapter/MacFilterMode.h"
#include "adapter/NetworkType.h"
#include "adapter/PowerSaveMode.h"
#include "adapter/PreambleMode.h"
#include "adapter/WepStatus.h"
#include "platform/Unicode.h"
#include "settings/HexText.h"

namespace rizorivu {

namespace {

constexpr std::size_t kSsidChars = 32;
constexpr std::string_view kDefaultAccessPointSsid = "WLAN_AP";
constexpr std::size_t kMacFilterTextBytes = 99;

// The stored codes and their defaults. The accepted ranges reach past the highest code (4 for
// the network type, 7 for the encryption): such a value is handed on and the adapter refuses it.
constexpr int kLowestNetworkType = toDriver(NetworkType::AdHoc);
constexpr int kHighestStoredNetworkType = 4;
constexpr int kDefaultNetworkType = toDriver(NetworkType::Infrastructure);
constexpr int kLowestAuthentication = toDriver(AuthenticationMode::Open);
constexpr int kHighestStationAuthentication = toDriver(AuthenticationMode::Wpa2Psk);
constexpr int kHighestAccessPointAuthentication = toDriver(AuthenticationMode::SharedKey);
constexpr int kDefaultStationAuthentication = toDriver(AuthenticationMode::AutoSwitch);
constexpr int kDefaultAccessPointAuthentication = toDriver(AuthenticationMode::Open);
constexpr int kLowestWepStatus = toDriver(WepStatus::WepEnabled);
constexpr int kHighestStoredWepStatus = 7;
constexpr int kDefaultWepStatus = toDriver(WepStatus::Disabled);
constexpr int kLowestPowerSaveMode = toDriver(PowerSaveMode::ContinuousAccess);
constexpr int kHighestPowerSaveMode = toDriver(PowerSaveMode::Fast);

}  // namespace

LastSettingsReplay::LastSettingsReplay(AdapterLibrary& library, AdapterRecord& adapter,
                                       const LastSettings& last, SettingApplier& applier,
                                       WpaConnection& wpa)
    : library_(library), adapter_(adapter), last_(last), applier_(applier), wpa_(wpa) {}

int LastSettingsReplay::storedOr(std::string_view name, int low, int high, int fallback) const {
    const int value = last_.lastSettingInt(name);
    return value < low || value > high ? fallback : value;
}

int LastSettingsReplay::replayLastSettings() {
    const bool accessPoint = last_.currentMode() == OperatingMode::kAccessPoint;
    const int mode = last_.currentMode();

    int networkType = kDefaultNetworkType;
    if (!accessPoint) {
        networkType = storedOr(settingname::kNetworkType, kLowestNetworkType,
                               kHighestStoredNetworkType, kDefaultNetworkType);
        applier_.applyNetworkType(networkType);
    }
    applier_.applyAuthenticationMode(
        accessPoint ? storedOr(settingname::kAuthenticationMode, kLowestAuthentication,
                               kHighestAccessPointAuthentication, kDefaultAccessPointAuthentication)
                    : storedOr(settingname::kAuthenticationMode, kLowestAuthentication,
                               kHighestStationAuthentication, kDefaultStationAuthentication));
    const int channel = storedOr(settingname::kChannel, 0, 99, 6);
    if (accessPoint || networkType != toDriver(NetworkType::Infrastructure)) {
        applier_.applyChannel(channel);
    }

    // A length inside the accepted range other than 64, 128 or 256 is taken as 64.
    const int storedLength = storedOr(settingname::kWepKeyLength, 64, 256, 64);
    const int lengthCode = SettingApplier::lengthCodeOfBits(storedLength);
    const int bits = SettingApplier::bitsOfLengthCode(lengthCode);
    const int transmitKey = storedOr(settingname::kWepDefaultKeyId, 0, 3, 0);
    for (int index = 0; index < 4; ++index) {
        std::array<std::uint8_t, LastSettings::kDefaultWepKeyBytes> key{};
        last_.readWepKeyBytes(bits, index, key);
        applier_.applyWepKey(index, lengthCode, index == transmitKey ? 1 : 0, key.data());
    }
    applier_.applyWepStatus(storedOr(settingname::kWepStatus, kLowestWepStatus,
                                     kHighestStoredWepStatus, kDefaultWepStatus));

    std::string ssid(utf8Prefix(last_.lastSettingText(mode, settingname::kSsid), kSsidChars));
    applier_.applyInterimSsid();
    if (accessPoint && ssid.empty()) {
        ssid = kDefaultAccessPointSsid;
    }
    applier_.applySsidText(ssid);

    if (accessPoint) {
        applier_.applyHideSsid(storedOr(settingname::kHideSsid, 0, 1, 0));
        std::array<std::uint8_t, adapterbuf::kFilterListBytes> list{};
        for (std::size_t n = 0; n < SettingApplier::kMacFilterEntries; ++n) {
            std::string text = last_.codePage().toAnsi(
                last_.lastSettingText(mode, settingname::macFilterAddress(n)));
            if (text.size() > kMacFilterTextBytes) {
                text.resize(kMacFilterTextBytes);
            }
            const auto entry = std::span(list).subspan(n * SettingApplier::kMacFilterEntryBytes,
                                                       SettingApplier::kMacFilterEntryBytes);
            HexTextToBytes(text, entry.subspan(1));
            const bool inUse =
                std::any_of(entry.begin() + 1, entry.end(), [](std::uint8_t b) { return b != 0; });
            entry[0] = inUse ? 1 : 0;
        }
        applier_.applyMacFilterList(list);
        applier_.applyMacFilterMode(
            storedOr(settingname::kMacFilterMode, toDriver(MacFilterMode::Off),
                     toDriver(MacFilterMode::RefuseListed), toDriver(MacFilterMode::Off)));
        applier_.applyBasicRate(storedOr(settingname::kBasicRate, 0, 3, 1));
        applier_.applyTxPowerLevel(storedOr(settingname::kTxPowerLevel, 0, 3, 0));
        applier_.applyPreambleMode(
            storedOr(settingname::kPreambleMode, toDriver(PreambleMode::Long),
                     toDriver(PreambleMode::Auto), toDriver(PreambleMode::Long)));
    } else {
        applier_.applyPreambleMode(toDriver(PreambleMode::Auto));
    }

    applier_.applyFragmentationThreshold(
        storedOr(settingname::kFragmentationThreshold, 256, 2345, 2346));
    applier_.applyRtsThreshold(storedOr(settingname::kRtsThreshold, 0, 2346, 2347));
    if (!accessPoint) {
        applier_.applyPowerSaveMode(storedOr(settingname::kPowerSaveMode, kLowestPowerSaveMode,
                                             kHighestPowerSaveMode, kLowestPowerSaveMode));
    }
    applier_.applyMultiDomainCapability(storedOr(settingname::kMultiDomainCapability, 0, 1, 0));
    applier_.applyOperationRegion(storedOr(settingname::kOperationRegion, 0, 254, 0));
    applier_.applyRegionChannels(library_.QueryWL_OperationRegionCode(&adapter_));

    if (!accessPoint) {
        if (isWpaAuthentication(last_.lastSettingInt(settingname::kAuthenticationMode))) {
            wpa_.startWpaConnection();
        }
        const std::string rateText(
            trimBlanks(last_.lastSettingText(mode, settingname::kDesiredRate)));
        std::array<std::uint8_t, adapterbuf::kRateBytes> rates{};
        if (rateText.empty()) {
            if (library_.QueryWL_SupportedRate(&adapter_, rates) != -1) {
                applier_.applyDesiredRate(rates);
            }
        } else {
            // The stored text is narrowed to single bytes, each character cut to its low byte.
            std::string narrow;
            for (char16_t unit : utf8ToUtf16(rateText)) {
                narrow += static_cast<char>(unit & 0xFF);
            }
            HexTextToBytes(narrow, rates);
            applier_.applyDesiredRate(rates);
        }
    }
    return 0;
}

int LastSettingsReplay::fillRecordFromLastSettings(SettingRecord& record) {
    const int mode = last_.currentMode();
    record.networkType = storedOr(settingname::kNetworkType, kLowestNetworkType,
                                  kHighestStoredNetworkType, kDefaultNetworkType);
    record.channel = storedOr(settingname::kChannel, 1, 99, 6);
    record.ssid =
        std::string(utf8Prefix(last_.lastSettingText(mode, settingname::kSsid), kSsidChars));
    record.wepKeyLength = storedOr(settingname::kWepKeyLength, 64, 256, 64);
    record.wepDefaultKeyId = storedOr(settingname::kWepDefaultKeyId, 0, 3, 0);
    for (int i = 0; i < 4; ++i) {
        std::array<std::uint8_t, LastSettings::kDefaultWepKeyBytes> key{};
        // A hand-edited length between the three real ones has no key bytes: its texts
        // stay empty, so saving the profile keeps whatever keys it held.
        if (last_.readWepKeyBytes(record.wepKeyLength, i, key) == 0) {
            record.wepKey[static_cast<std::size_t>(i)] = BytesToHexText(
                std::span(key).first(static_cast<std::size_t>(record.wepKeyLength / 8 - 3)));
        } else {
            record.wepKey[static_cast<std::size_t>(i)].clear();
        }
    }
    record.authenticationMode =
        storedOr(settingname::kAuthenticationMode, kLowestAuthentication,
                 kHighestStationAuthentication, kDefaultStationAuthentication);
    record.fragmentationThreshold = storedOr(settingname::kFragmentationThreshold, 256, 2345, 2346);
    record.rtsThreshold = storedOr(settingname::kRtsThreshold, 0, 2346, 2347);
    record.wepStatus = storedOr(settingname::kWepStatus, kLowestWepStatus, kHighestStoredWepStatus,
                                kDefaultWepStatus);
    record.powerSaveMode = storedOr(settingname::kPowerSaveMode, kLowestPowerSaveMode,
                                    kHighestPowerSaveMode, kLowestPowerSaveMode);
    record.dot1xProtocol = last_.lastSettingInt(settingname::kDot1xProtocol);
    record.dot1xPassphrase = last_.lastSettingText(mode, settingname::kDot1xPassphrase);
    record.dot1xUsername = last_.lastSettingText(mode, settingname::kDot1xUsername);
    record.dot1xPassword = last_.lastSettingText(mode, settingname::kDot1xPassword);
    record.dot1xWpaIes = last_.lastSettingText(mode, settingname::kDot1xWpaIes);
    record.dot1xCertSubject = last_.lastSettingText(mode, settingname::kDot1xCertSubject);
    record.dot1xCertIssuer = last_.lastSettingText(mode, settingname::kDot1xCertIssuer);
    return 0;
}

}  // namespace rizorivu
