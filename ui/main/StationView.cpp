#include "ui/main/StationView.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <span>
#include <string>

#include "adapter/ConnectState.h"
#include "adapter/DriverCode.h"
#include "adapter/NetworkType.h"
#include "adapter/SurveyBuffer.h"
#include "settings/Configuration.h"
#include "settings/HexText.h"
#include "settings/LocalizedText.h"
#include "settings/SettingNames.h"
#include "settings/SettingsContext.h"
#include "ui/main/LinkStatus.h"
#include "ui/main/StationStatusText.h"
#include "ui/main/SurveyCells.h"
#include "ui/main/SurveyCycle.h"

namespace rizorivu::ui {

namespace {

constexpr std::size_t kSelectedChannel = 0;
constexpr std::size_t kSelectedType = 1;
constexpr std::size_t kSelectedWep = 2;
constexpr std::size_t kSelectedBssid = 3;
constexpr std::size_t kSelectedSecurity = 4;

struct TextKey {
    std::string_view key;
    std::string_view defaultText;
};

constexpr std::array<TextKey, MainWindowControls::kInfoRows> kCurrentNetworkLabels{{
    {"MP_STA_Curr_Net_Info_Channel", "Channel:"},
    {"MP_STA_Curr_Net_Info_Type", "Type:"},
    {"MP_STA_Curr_Net_Info_SSID", "SSID:"},
    {"MP_STA_Curr_Net_Info_TxRate", "Tx Rate:"},
    {"MP_STA_Curr_Net_Info_WEP", "Encrypt:"},
}};

constexpr std::array<TextKey, MainWindowControls::kInfoRows> kSelectedNetworkLabels{{
    {"MP_STA_Select_Net_Info_Channel", "Channel:"},
    {"MP_STA_Curr_Net_Info_Type", "Type:"},
    {"MP_STA_Select_Net_Info_WEP", "WEP:"},
    {"MP_STA_Select_Net_Info_BSSID", "BSSID:"},
    {"", ""},
}};

}  // namespace

StationView::StationView(MainWindowControls& controls, SettingsContext& settings,
                         const Configuration& configuration, const LocalizedText& texts,
                         SurveyCycle& survey, LinkStatus& link)
    : controls_(controls),
      settings_(settings),
      configuration_(configuration),
      texts_(texts),
      survey_(survey),
      link_(link) {}

void StationView::layOut() {
    survey_.layOutList();
    if (selectionShown_) {
        layOutSelectedNetworkInfo();
    } else {
        layOutCurrentNetworkInfo();
    }
    link_.layOut();
}

void StationView::tick() {
    if (survey_.tick()) {
        layOutCurrentNetworkInfo();
        showLinkStatus();
        selectionShown_ = false;
    }
    if (selectionShown_) {
        if (selectionCountdown_ > 0) {
            --selectionCountdown_;
        } else {
            layOutCurrentNetworkInfo();
            selectionShown_ = false;
        }
    } else {
        showCurrentValues();
    }
    showLinkStatus();
}

void StationView::showCurrentNetwork() {
    layOutCurrentNetworkInfo();
    showLinkStatus();
    selectionShown_ = false;
}

void StationView::selectRow(int row) {
    controls_.networkList.select(row);
    shownRow_ = controls_.networkList.selected();
    selectionShown_ = true;
    selectionCountdown_ = kSelectionTicks;
    layOutSelectedNetworkInfo();
    showSelectedNetwork();
}

void StationView::layOutCurrentNetworkInfo() {
    MainWindowControls& c = controls_;
    c.infoBox.setText(texts_.text("MP_STA_Curr_Net_Info_Title", "Current Network Information"));
    for (std::size_t row = 0; row < kCurrentNetworkLabels.size(); ++row) {
        const TextKey& label = kCurrentNetworkLabels[row];
        c.infoLabels[row].setText(texts_.text(label.key, label.defaultText));
        c.infoLabels[row].setVisible(true);
        c.infoValues[row].setVisible(true);
    }
    c.infoButton.setText(texts_.text("MP_STA_Curr_Net_Info_More_Set", "More Setting..."));
    c.clearValueFields();
}

void StationView::layOutSelectedNetworkInfo() {
    MainWindowControls& c = controls_;
    c.infoBox.setText(texts_.text("MP_STA_Select_Net_Info_Title", "Selected Network Information"));
    for (std::size_t row = 0; row < c.infoLabels.size(); ++row) {
        const TextKey& label = kSelectedNetworkLabels[row];
        c.infoLabels[row].setText(!label.key.empty() ? texts_.text(label.key, label.defaultText)
                                                     : std::string());
        c.infoValues[row].setVisible(!label.key.empty());
    }
    c.infoButton.setText(texts_.text("MP_STA_Select_Net_Info_Connect", "Connect this site"));
    c.clearValueFields();
}

void StationView::showCurrentValues() {
    AdapterLibrary& library = settings_.library;
    AdapterRecord* adapter = &settings_.adapter;
    const LocalizedText& text = texts_;
    std::array<Label, MainWindowControls::kInfoRows>& values = controls_.infoValues;

    const ConnectState state = fromDriver<ConnectState>(library.QueryWL_ConnectState(adapter));
    if (const int type = library.QueryWL_NetworkType(adapter); type != -1) {
        values[MainWindowControls::kInfoType].setText(networkTypeText(text, type));
    }
    if (const int channel = library.QueryWL_Channel(adapter); channel >= 0) {
        values[MainWindowControls::kInfoChannel].setText(std::to_string(channel));
    }
    std::optional<std::string> ssidBytes;
    if (state == ConnectState::Connected) {
        std::array<std::uint8_t, adapterbuf::kSsidBytes> buffer{};
        if (const int length = library.QueryWL_SSID(adapter, buffer); length != -1) {
            const auto n = static_cast<std::size_t>(std::clamp(length, 0, 32));
            ssidBytes = std::string(buffer.begin(), buffer.begin() + static_cast<long>(n));
        }
    } else if (state == ConnectState::NotConnected) {
        // Not connected: the network the station was last told to join.
        std::string bytes = settings_.ansi.toAnsi(
            settings_.last.lastSettingText(settings_.mode.get(), settingname::kSsid));
        bytes.resize(std::min<std::size_t>(bytes.size(), adapterbuf::kSsidBytes));
        ssidBytes = bytes;
    }
    if (ssidBytes) {
        ssidBytes->resize(std::strlen(ssidBytes->c_str()));  // a zero byte ends the SSID
        values[MainWindowControls::kInfoSsid].setText(ssidBytes->empty()
                                                          ? text.text("MP_STA_SSID_any", "<any>")
                                                          : settings_.ansi.fromAnsi(*ssidBytes));
    }
    if (const int rate = library.QueryWL_CurrentLinkSpeed(adapter); rate != -1) {
        values[MainWindowControls::kInfoRate].setText(rateText(text, rate));
    }
    if (const int wep = library.QueryWL_WEPStatus(adapter); wep >= 0) {
        values[MainWindowControls::kInfoEncryption].setText(
            configuration_.debugMode != 0
                ? encryptionDebugText(wep, settings_.last.lastSettingInt(settingname::kWepStatus))
                : encryptionText(text, wep));
    }
}

void StationView::showSelectedNetwork() {
    const std::vector<std::uint8_t>& buffer = survey_.buffer();
    const ConstSurveyBuffer survey{std::span<const std::uint8_t>(buffer)};
    const std::optional<ConstSurveyRecordView> record = survey.recordForRow(shownRow_);
    if (!record) {
        return;
    }
    std::array<Label, MainWindowControls::kInfoRows>& values = controls_.infoValues;
    const std::optional<int> channel = survey::channelFromFrequency(record->frequency());
    values[kSelectedChannel].setText(channel ? std::to_string(*channel) : std::string("Unknow"));
    switch (fromDriver<NetworkType>(static_cast<int>(record->infrastructureMode()))) {
        case NetworkType::AdHoc:
            values[kSelectedType].setText(texts_.text("MP_STA_Select_NetType_Ad_Hoc", "Ad-Hoc"));
            break;
        case NetworkType::Infrastructure:
            values[kSelectedType].setText(
                texts_.text("MP_STA_Select_NetType_Infra", "Infrastructure"));
            break;
        default:
            values[kSelectedType].setText(texts_.text("MP_STA_Select_NetType_Unknown", "Unknown"));
            break;
    }
    values[kSelectedWep].setText(record->privacy() != 0 ? texts_.text("MP_STA_WEP_On", "On")
                                                        : texts_.text("MP_STA_WEP_Off", "Off"));
    values[kSelectedBssid].setText(BytesToHexText(record->bssid()));
    // The free fifth row names the WPA security, for a network that advertises one.
    const std::string security = advertisedSecurityText(texts_, surveyElementArea(record->bytes()));
    if (!security.empty()) {
        controls_.infoLabels[kSelectedSecurity].setText(
            texts_.text("MP_STA_Select_Net_Info_Security", "Security:"));
        values[kSelectedSecurity].setText(security);
        values[kSelectedSecurity].setVisible(true);
    }
}

void StationView::showLinkStatus() {
    if (!survey_.pending()) {
        link_.show();
    }
}

}  // namespace rizorivu::ui
