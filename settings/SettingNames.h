#pragma once

#include <string>
#include <string_view>

// The registry value names of the last settings (LastSetting\Station, LastSetting\AccessPoint)
// and of the station profiles (Profile\<name>). Both stores use the same name for the same
// setting, so a saved profile and the last settings read alike.
namespace rizorivu::settingname {

constexpr std::string_view kSsid = "SSID";
constexpr std::string_view kChannel = "Channel";
constexpr std::string_view kNetworkType = "NetworkType";
constexpr std::string_view kDesiredRate = "DesiredRate";
constexpr std::string_view kAuthenticationMode = "AuthenticationMode";
constexpr std::string_view kWepStatus = "WEPStatus";
constexpr std::string_view kWepDefaultKeyId = "WEPDefaultKeyId";
constexpr std::string_view kWepKeyLength = "WEPKeyLength";
constexpr std::string_view kPowerSaveMode = "PowerSaveMode";
constexpr std::string_view kFragmentationThreshold = "FragmentationThreshold";
constexpr std::string_view kRtsThreshold = "RTSThreshold";
constexpr std::string_view kPreambleMode = "PreambleMode";
constexpr std::string_view kDot1xProtocol = "Dot1xProtocol";
constexpr std::string_view kDot1xPassphrase = "Dot1xPassphrase";
constexpr std::string_view kDot1xUsername = "Dot1xUsername";
constexpr std::string_view kDot1xPassword = "Dot1xPassword";
constexpr std::string_view kDot1xWpaIes = "Dot1xWPAIEs";
constexpr std::string_view kDot1xCertSubject = "Dot1xCertSubject";
constexpr std::string_view kDot1xCertIssuer = "Dot1xCertIssuer";

// Access-point mode only.
constexpr std::string_view kHideSsid = "HideSSID";
constexpr std::string_view kBasicRate = "BasicRate";
constexpr std::string_view kTxPowerLevel = "TxPowerLevel";
constexpr std::string_view kMacFilterMode = "MACFilterMode";

// Radio settings, kept in each mode's last settings.
constexpr std::string_view kMultiDomainCapability = "MultiDomainCapability";
constexpr std::string_view kOperationRegion = "OperationRegion";

// "MACFilterAddr<n>", the address of MAC filter entry n (0-15).
inline std::string macFilterAddress(std::size_t entry) {
    return "MACFilterAddr" + std::to_string(entry);
}

}  // namespace rizorivu::settingname

namespace rizorivu {

// "WEPKey<bits>_<index>", the value name of one stored WEP key; each key length has its own
// set of four keys.
inline std::string wepKeyValueName(int bits, int index) {
    return "WEPKey" + std::to_string(bits) + "_" + std::to_string(index);
}

}  // namespace rizorivu
