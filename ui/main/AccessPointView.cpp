#include "ui/main/AccessPointView.h"

#include <array>
#include <span>
#include <string>
#include <utility>

#include "adapter/DriverCode.h"
#include "adapter/WepStatus.h"
#include "platform/Unicode.h"
#include "settings/HexText.h"
#include "settings/LocalizedText.h"
#include "settings/SettingNames.h"
#include "settings/SettingsContext.h"

namespace rizorivu::ui {

namespace {

constexpr std::size_t kApChannel = 0;
constexpr std::size_t kApSsid = 1;
constexpr std::size_t kApWep = 2;
constexpr std::size_t kApTxPower = 3;

constexpr std::array<std::pair<const char*, const char*>, 4> kAccessPointLabels{{
    {"MP_AP_Curr_Net_Setting_Channel", "Channel:"},
    {"MP_AP_Curr_Net_Setting_SSID", "SSID:"},
    {"MP_AP_Curr_Net_Setting_WEP", "WEP:"},
    {"MP_AP_Curr_Net_Setting_Tx_Power", "Tx Power:"},
}};

constexpr int kStationListColumnWidth = 169;
constexpr std::string_view kDefaultApSsid = "WLAN_AP";
constexpr std::size_t kSsidChars = 32;

}  // namespace

void AccessPointView::layOut() {
    MainWindowControls& c = controls_;
    c.networkList.removeAllRows();
    c.networkList.removeAllColumns();
    c.listCaption.setText(texts_.text("MP_AP_Station_List", "Connect Station List:"));
    c.refreshButton.setText("");
    c.networkList.addColumn({texts_.text("MP_AP_Station_List_Station_MAC", "Station MAC Address"),
                             kStationListColumnWidth, ReportList::Alignment::Left});
    c.networkList.setFullRowSelect(true);

    c.infoBox.setText(texts_.text("MP_AP_Curr_Net_Setting_Title", "Current Network Setting"));
    for (std::size_t row = 0; row < c.infoLabels.size(); ++row) {
        const bool used = row < kAccessPointLabels.size();
        c.infoLabels[row].setText(
            used ? texts_.text(kAccessPointLabels[row].first, kAccessPointLabels[row].second)
                 : std::string());
        c.infoValues[row].setVisible(used);  // the fifth row has nothing to show here
    }
    c.infoButton.setText(texts_.text("MP_AP_Curr_Net_Setting_More_Set", "More Setting..."));
    c.clearValueFields();

    // Only the frame counters remain below the list.
    for (Control* control :
         {static_cast<Control*>(&c.linkStatusLabel), static_cast<Control*>(&c.linkStatusValue),
          static_cast<Control*>(&c.signalLabel), static_cast<Control*>(&c.signalBar),
          static_cast<Control*>(&c.signalPercent), static_cast<Control*>(&c.qualityLabel),
          static_cast<Control*>(&c.qualityBar), static_cast<Control*>(&c.qualityPercent)}) {
        control->setVisible(false);
    }
    c.txFrameLabel.setText(texts_.text("MP_STA_Tx_Frame", "Tx Frame:"));
    c.rxFrameLabel.setText(texts_.text("MP_STA_Rx_Frame", "Rx Frame:"));
    for (Label* label : {&c.txFrameLabel, &c.txFrameValue, &c.rxFrameLabel, &c.rxFrameValue}) {
        label->setVisible(true);
    }
}

void AccessPointView::showSettings() {
    const LastSettings& last = settings_.last;
    SettingApplier& applier = settings_.applier;
    std::array<Label, MainWindowControls::kInfoRows>& values = controls_.infoValues;

    int channel = last.lastSettingInt(settingname::kChannel);
    if (channel > 99 || channel < 0) {
        channel = 6;
        applier.applyChannel(channel);
    }
    values[kApChannel].setText(channel < 1 || channel > 14 ? std::string("---")
                                                           : std::to_string(channel));

    std::string ssid(
        utf8Prefix(last.lastSettingText(settings_.mode.get(), settingname::kSsid), kSsidChars));
    if (ssid.empty()) {
        ssid = kDefaultApSsid;
        applier.applySsidText(ssid);
    }
    values[kApSsid].setText(ssid);

    int wepStatus = last.lastSettingInt(settingname::kWepStatus);
    if (wepStatus > 7 || wepStatus < 0) {
        wepStatus = toDriver(WepStatus::Disabled);
        applier.applyWepStatus(wepStatus);
    }
    int keyLength = last.lastSettingInt(settingname::kWepKeyLength);
    if (keyLength > 256 || keyLength < 64) {
        keyLength = 64;  // shown only; nothing is written
    }
    // Only "enabled" and "disabled" have a text; the WPA statuses of a station never reach an
    // access point, and show as disabled.
    values[kApWep].setText(wepStatus == toDriver(WepStatus::WepEnabled)
                               ? "Enable (" + std::to_string(keyLength) + "-bit)"
                               : std::string("Disable"));

    int power = last.lastSettingInt(settingname::kTxPowerLevel);
    if (power > 3 || power < 0) {
        power = 0;
        applier.applyTxPowerLevel(power);
    }
    values[kApTxPower].setText("Level " + std::to_string(power));
}

void AccessPointView::refreshStationList() {
    std::array<std::uint8_t, adapterbuf::kStationListBytes> list{};
    if (settings_.library.WL_RetrieveStationList(&settings_.adapter, list.data(),
                                                 static_cast<int>(list.size())) == -1) {
        return;  // the list keeps its rows
    }
    controls_.networkList.removeAllRows();
    for (std::size_t slot = 0; slot < SettingApplier::kMacFilterEntries; ++slot) {
        const auto entry = std::span(list).subspan(slot * SettingApplier::kMacFilterEntryBytes,
                                                   SettingApplier::kMacFilterEntryBytes);
        if (entry[0] != 0) {
            controls_.networkList.addRow({BytesToHexText(entry.subspan(1))});
        }
    }
}

void AccessPointView::tick() {
    showFrameCounts();
    if (++stationListTicks_ == kStationListEvery) {
        refreshStationList();
        stationListTicks_ = 0;
    }
}

void AccessPointView::showFrameCounts() {
    FrameCounts counts;
    if (settings_.library.GetTxRxFrameCount(&settings_.adapter, &counts) != -1) {
        controls_.txFrameValue.setText(std::to_string(counts.transmitted));
        controls_.rxFrameValue.setText(std::to_string(counts.received));
    }
}

}  // namespace rizorivu::ui
