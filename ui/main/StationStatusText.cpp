#include "ui/main/StationStatusText.h"

#include <algorithm>
#include <numeric>

#include "adapter/DriverCode.h"
#include "adapter/NetworkType.h"
#include "adapter/WepStatus.h"
#include "adapter/WpaSuiteTypes.h"
#include "settings/NumberText.h"

namespace rizorivu::ui {

namespace {

// The connecting text grows by one group a tick and starts over after this many.
constexpr int kMaxConnectingDots = 18;

}  // namespace

std::string networkTypeText(const LocalizedText& text, int networkType) {
    switch (fromDriver<NetworkType>(networkType)) {
        case NetworkType::AdHoc:
            return text.text("MP_STA_Curr_Net_Type_Ad_Hoc", "Ad-Hoc");
        case NetworkType::Infrastructure:
            return text.text("MP_STA_Curr_Net_Type_Infra", "Infrastructure");
        case NetworkType::AutoUnknown:  // the view has always called this one WDS
            return text.text("MP_STA_Curr_Net_Type_WDS", "WDS");
        case NetworkType::PseudoIbss:
            return text.text("MP_STA_Curr_Net_Type_PIBSS", "Pseudo IBSS");
        default:
            return text.text("MP_STA_Curr_Net_Type_Unknown", "Unknown type") + "(" +
                   std::to_string(networkType) + ")";
    }
}

std::string rateText(const LocalizedText& text, int rateKbps) {
    const std::string unit = text.text("BS_G_TxRate_Value_Unit", "Mbps");
    if (rateKbps % 1000 == 0) {
        return std::to_string(rateKbps / 1000) + " " + unit;
    }
    return fixedText(rateKbps / 1000.0, 1) + " " + unit;
}

std::string encryptionText(const LocalizedText& text, int wepStatus) {
    switch (fromDriver<WepStatus>(wepStatus)) {
        case WepStatus::WepEnabled:
            return text.text("MP_STA_ENCRYPT_WEP", "WEP");
        case WepStatus::Disabled:
            return text.text("MP_STA_ENCRYPT_NONE", "NONE");
        case WepStatus::TkipEnabled:
            return text.text("MP_STA_ENCRYPT_TKIP", "TKIP");
        case WepStatus::AesEnabled:
            return text.text("MP_STA_ENCRYPT", "AES");
        default:
            return text.text("MP_STA_WEP_Unknown", "Unknown");
    }
}

std::string advertisedSecurityText(const LocalizedText& text,
                                   std::span<const std::uint8_t> elementArea) {
    // The suite numbers of the RSN element are WPA's: 2 is the pre-shared key.
    constexpr int kPreSharedKey = 2;
    if (const WpaSuiteTypes wpa2 = rsnSuiteTypes(elementArea); wpa2.seen) {
        return wpa2.keyManagement == kPreSharedKey
                   ? text.text("MP_STA_Security_WPA2_PSK", "WPA2-PSK")
                   : text.text("MP_STA_Security_WPA2", "WPA2");
    }
    if (const WpaSuiteTypes wpa = wpaSuiteTypes(elementArea); wpa.seen) {
        return wpa.keyManagement == kPreSharedKey ? text.text("MP_STA_Security_WPA_PSK", "WPA-PSK")
                                                  : text.text("MP_STA_Security_WPA", "WPA");
    }
    return {};
}

std::string encryptionDebugText(int queried, int stored) {
    const auto letter = [](int status) {
        switch (fromDriver<WepStatus>(status)) {
            case WepStatus::WepEnabled:
                return "E";
            case WepStatus::Disabled:
                return "D";
            default:
                return "?";
        }
    };
    return std::string("Q:") + letter(queried) + " S:" + letter(stored);
}

std::string connectingText(const LocalizedText& text, int dots) {
    std::string status = text.text("MP_STA_Link_Status_Connecting", "Connecting...");
    for (int i = 0; i < std::clamp(dots, 0, kMaxConnectingDots); ++i) {
        status += "...";
    }
    return status;
}

std::string connectedText(const LocalizedText& text, int networkType, int pseudoIbssSupport) {
    switch (fromDriver<NetworkType>(networkType)) {
        case NetworkType::AdHoc:
            return text.text("MP_STA_Link_Status_Con_Ad_Hoc", "Connected to Ad-Hoc.");
        case NetworkType::Infrastructure:
            return text.text("MP_STA_Link_Status_Con_AP", "Connected to Access Point.");
        case NetworkType::PseudoIbss:
            if (pseudoIbssSupport == 1) {
                return text.text("MP_STA_Link_Status_Con_PIBSS", "Connected to Pseudo IBSS.");
            }
            return "Unknown";
        default:
            return "Unknown";
    }
}

void SignalAverages::reset() {
    rssi_.fill(0);
    quality_.fill(0);
    index_ = 0;
    count_ = 0;
}

void SignalAverages::add(std::optional<int> rssiDbm, std::optional<int> qualityPercent) {
    if (rssiDbm) {
        rssi_[static_cast<std::size_t>(index_)] = std::clamp(*rssiDbm, kWeakestDbm, kStrongestDbm);
    }
    if (qualityPercent) {
        quality_[static_cast<std::size_t>(index_)] = std::clamp(*qualityPercent, 0, 100);
    }
    index_ = (index_ + 1) % kSamples;
    count_ = std::min(count_ + 1, kSamples);
}

int SignalAverages::signalPercent() const {
    if (count_ == 0) {
        return 0;
    }
    const int average = std::accumulate(rssi_.begin(), rssi_.end(), 0) / count_;
    return (average - kWeakestDbm) * 100 / (kStrongestDbm - kWeakestDbm);
}

int SignalAverages::qualityPercent() const {
    if (count_ == 0) {
        return 0;
    }
    return std::accumulate(quality_.begin(), quality_.end(), 0) / count_;
}

}  // namespace rizorivu::ui
