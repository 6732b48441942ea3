// The main window's access-point view and the switch between station and access point.

#include <algorithm>
#include <array>
#include <string>

#include "settings/Configuration.h"
#include "settings/SettingsContext.h"
#include "ui/CTrayIcon.h"
#include "platform/Unicode.h"
#include "settings/HexText.h"
#include "ui/main/MainWindow.h"

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
// The adapter needs a moment after a mode change before it takes settings.
constexpr std::int64_t kModeSettleMs = 1000;
constexpr std::int64_t kStationSettleMs = 200;
constexpr const char* kModeChangeFailed = "Wireless Network Adapter Change Mode Fail!!!";

}  // namespace

void MainWindow::layOutAccessPointView() {
    networkList.removeAllRows();
    networkList.removeAllColumns();
    listCaption.setText(text("MP_AP_Station_List", "Connect Station List:"));
    refreshButton.setText("");
    listColumnCount_ = kAccessPointListColumns;
    networkList.addColumn({text("MP_AP_Station_List_Station_MAC", "Station MAC Address"),
                           kStationListColumnWidth, ReportList::Alignment::Left});
    networkList.setFullRowSelect(true);

    infoBox.setText(text("MP_AP_Curr_Net_Setting_Title", "Current Network Setting"));
    for (std::size_t row = 0; row < infoLabels.size(); ++row) {
        const bool used = row < kAccessPointLabels.size();
        infoLabels[row].setText(
            used ? text(kAccessPointLabels[row].first, kAccessPointLabels[row].second)
                 : std::string());
        infoValues[row].setVisible(used);  // the fifth row has nothing to show here
    }
    infoButton.setText(text("MP_AP_Curr_Net_Setting_More_Set", "More Setting..."));
    clearValueFields();

    // Only the frame counters remain below the list.
    for (Control* control :
         {static_cast<Control*>(&linkStatusLabel), static_cast<Control*>(&linkStatusValue),
          static_cast<Control*>(&signalLabel), static_cast<Control*>(&signalBar),
          static_cast<Control*>(&signalPercent), static_cast<Control*>(&qualityLabel),
          static_cast<Control*>(&qualityBar), static_cast<Control*>(&qualityPercent)}) {
        control->setVisible(false);
    }
    txFrameLabel.setText(text("MP_STA_Tx_Frame", "Tx Frame:"));
    rxFrameLabel.setText(text("MP_STA_Rx_Frame", "Rx Frame:"));
    for (Label* label : {&txFrameLabel, &txFrameValue, &rxFrameLabel, &rxFrameValue}) {
        label->setVisible(true);
    }
}

void MainWindow::showAccessPointSettings() {
    const LastSettings& last = settings_.last;
    SettingApplier& applier = settings_.applier;

    int channel = last.lastSettingInt("Channel");
    if (channel > 99 || channel < 0) {
        channel = 6;
        applier.applyChannel(channel);
    }
    infoValues[kApChannel].setText(channel < 1 || channel > 14 ? std::string("---")
                                                               : std::to_string(channel));

    std::string ssid(utf8Prefix(last.lastSettingText(settings_.mode.get(), "SSID"), kSsidChars));
    if (ssid.empty()) {
        ssid = kDefaultApSsid;
        applier.applySsidText(ssid);
    }
    infoValues[kApSsid].setText(ssid);

    int wepStatus = last.lastSettingInt("WEPStatus");
    if (wepStatus > 7 || wepStatus < 0) {
        wepStatus = 1;
        applier.applyWepStatus(wepStatus);
    }
    int keyLength = last.lastSettingInt("WEPKeyLength");
    if (keyLength > 256 || keyLength < 64) {
        keyLength = 64;  // shown only; nothing is written
    }
    // Only "enabled" and "disabled" have a text; the WPA statuses of a station never reach an
    // access point, and show as disabled.
    infoValues[kApWep].setText(wepStatus == 0 ? "Enable (" + std::to_string(keyLength) + "-bit)"
                                              : std::string("Disable"));

    int power = last.lastSettingInt("TxPowerLevel");
    if (power > 3 || power < 0) {
        power = 0;
        applier.applyTxPowerLevel(power);
    }
    infoValues[kApTxPower].setText("Level " + std::to_string(power));
}

void MainWindow::refreshStationList() {
    std::array<std::uint8_t, adapterbuf::kStationListBytes> list{};
    if (settings_.library.WL_RetrieveStationList(&settings_.adapter, list.data(),
                                                static_cast<int>(list.size())) == -1) {
        return;  // the list keeps its rows
    }
    networkList.removeAllRows();
    for (std::size_t slot = 0; slot < SettingApplier::kMacFilterEntries; ++slot) {
        const auto entry = std::span(list).subspan(slot * SettingApplier::kMacFilterEntryBytes,
                                                   SettingApplier::kMacFilterEntryBytes);
        if (entry[0] != 0) {
            networkList.addRow({BytesToHexText(entry.subspan(1))});
        }
    }
}

void MainWindow::showFrameCounts() {
    FrameCounts counts;
    if (settings_.library.GetTxRxFrameCount(&settings_.adapter, &counts) != -1) {
        txFrameValue.setText(std::to_string(counts.transmitted));
        rxFrameValue.setText(std::to_string(counts.received));
    }
}

void MainWindow::onModeSelected() {
    const int entry = modeSelector.selected();
    if (entry < 0 || entry > OperatingMode::kAccessPoint || entry == settings_.mode.get()) {
        return;
    }
    modeSelector.setEnabled(false);
    settings_.mode.set(entry);
    const bool accessPoint = entry == OperatingMode::kAccessPoint;
    if (accessPoint) {
        stationListTicks_ = 0;
        surveyPending_ = false;  // a pending scan is abandoned
        surveyCountdown_ = 0;
        refreshButton.setText("");
        refreshButton.setEnabled(false);
        showTrayImage(kIconAccessPoint);
    } else {
        refreshButton.setText(text("MP_STA_Net_List_Refresh", "Refresh"));
        refreshButton.setEnabled(true);
        showTrayImage(kIconNotConnected);
    }
    buildLayout();

    if (settings_.library.SetWL_OperationMode_STA_AP(&settings_.adapter, entry) == -1) {
        ask(MessageBox{kModeChangeFailed, text("MP_Dialog_Title", "Nimbo K-540 Utility"),
                       MessageButtons::Ok, MessageIcon::Exclamation});
        // The window ends when this handler returns, and with it the utility.
        end(DialogResult::Closed);
    }
    settings_.clock.sleepMs(kModeSettleMs);
    settings_.replay.replayLastSettings();
    if (accessPoint) {
        showAccessPointSettings();
        infoButton.setVisible(true);
        infoButton.setEnabled(true);
    } else {
        settings_.clock.sleepMs(kStationSettleMs);
    }
    modeSelector.setEnabled(true);
}

}  // namespace rizorivu::ui
