#include "ui/main/StationStatusText.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace rizorivu::ui {

namespace {

// The connecting text grows by one group a tick and starts over after this many.
constexpr int kMaxConnectingDots = 18;

}  // namespace

std::string networkTypeText(const LocalizedText& text, int networkType) {
    switch (networkType) {
        case 0:
            return text.text("MP_STA_Curr_Net_Type_Ad_Hoc", "Ad-Hoc");
        case 1:
            return text.text("MP_STA_Curr_Net_Type_Infra", "Infrastructure");
        case 2:
            return text.text("MP_STA_Curr_Net_Type_WDS", "WDS");
        case 3:
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
    char number[32];
    std::snprintf(number, sizeof number, "%.1f", rateKbps / 1000.0);
    return std::string(number) + " " + unit;
}

std::string encryptionText(const LocalizedText& text, int wepStatus) {
    switch (wepStatus) {
        case 0:
            return text.text("MP_STA_ENCRYPT_WEP", "WEP");
        case 1:
            return text.text("MP_STA_ENCRYPT_NONE", "NONE");
        case 4:
            return text.text("MP_STA_ENCRYPT_TKIP", "TKIP");
        case 6:
            return text.text("MP_STA_ENCRYPT", "AES");
        default:
            return text.text("MP_STA_WEP_Unknown", "Unknown");
    }
}

std::string encryptionDebugText(int queried, int stored) {
    const auto letter = [](int status) { return status == 0 ? "E" : status == 1 ? "D" : "?"; };
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
    switch (networkType) {
        case 0:
            return text.text("MP_STA_Link_Status_Con_Ad_Hoc", "Connected to Ad-Hoc.");
        case 1:
            return text.text("MP_STA_Link_Status_Con_AP", "Connected to Access Point.");
        case 3:
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
