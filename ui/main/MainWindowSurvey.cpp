// The station view's network list: the site survey, the list rows and the selected network.

#include <array>
#include <string>

#include "adapter/SurveyBuffer.h"
#include "settings/Configuration.h"
#include "settings/SettingsContext.h"
#include "settings/HexText.h"
#include "ui/main/MainWindow.h"
#include "ui/main/SurveyCells.h"

namespace rizorivu::ui {

namespace {

// The scan result is fetched on the fifth tick after the scan starts.
constexpr int kSurveyWaitTicks = 4;
// A clicked network stays in the information box for eight ticks.
constexpr int kSelectionTicks = 8;
constexpr int kSsidColumnWidth = 105;
constexpr int kStrengthColumnWidth = 64;

constexpr std::size_t kSelectedChannel = 0;
constexpr std::size_t kSelectedType = 1;
constexpr std::size_t kSelectedWep = 2;
constexpr std::size_t kSelectedBssid = 3;

struct TextKey {
    const char* key;
    const char* defaultText;
};

constexpr std::array<TextKey, MainWindow::kInfoRows> kSelectedNetworkLabels{{
    {"MP_STA_Select_Net_Info_Channel", "Channel:"},
    {"MP_STA_Curr_Net_Info_Type", "Type:"},
    {"MP_STA_Select_Net_Info_WEP", "WEP:"},
    {"MP_STA_Select_Net_Info_BSSID", "BSSID:"},
    {"", ""},
}};

}  // namespace

void MainWindow::layOutStationList() {
    networkList.removeAllRows();
    networkList.removeAllColumns();
    listCaption.setText(text("MP_STA_Available_Network", "Available Network:"));
    refreshButton.setText(text("MP_STA_Net_List_Refresh", "Refresh"));
    listColumnCount_ = kStationListColumns;
    networkList.addColumn(
        {text("MP_STA_Net_List_SSID", "SSID"), kSsidColumnWidth, ReportList::Alignment::Left});
    networkList.addColumn({text("MP_STA_Net_List_Strength", "Strength"), kStrengthColumnWidth,
                           ReportList::Alignment::Left});
    // The last scan reappears after a language change or a switch back to the station view.
    fillNetworkList();
    networkList.setFullRowSelect(true);
}

void MainWindow::layOutSelectedNetworkInfo() {
    infoBox.setText(text("MP_STA_Select_Net_Info_Title", "Selected Network Information"));
    for (std::size_t row = 0; row < infoLabels.size(); ++row) {
        const TextKey& label = kSelectedNetworkLabels[row];
        infoLabels[row].setText(*label.key != '\0' ? text(label.key, label.defaultText)
                                                   : std::string());
        infoValues[row].setVisible(*label.key != '\0');
    }
    infoButton.setText(text("MP_STA_Select_Net_Info_Connect", "Connect this site"));
    clearValueFields();
}

void MainWindow::fillNetworkList() {
    networkList.removeAllRows();
    const SurveyBuffer survey{std::span<std::uint8_t>(surveyBuffer_)};
    const bool showDbm = configuration_.showDbm != 0;
    for (std::size_t i = 0; i < survey.recordCount(); ++i) {
        const std::optional<SurveyRecordView> record = survey.record(i);
        if (!record) {
            break;
        }
        // Rows keep the buffer's order: row i is record i, which the selection relies on.
        ReportList::Row row{ssidText(record->ssid())};
        if (listColumnCount_ > 1) {
            row.push_back(fillStrength(*record, showDbm).text);
        }
        networkList.addRow(std::move(row));
    }
}

void MainWindow::startScan() {
    setListScanning(true);
    surveyPending_ = true;
    surveyCountdown_ = kSurveyWaitTicks;
    infoButton.setVisible(false);
    modeSelector.setEnabled(false);
    settings_.library.WL_SiteSurveyStart(&settings_.adapter);
}

void MainWindow::finishScan() {
    if (handover_.state() != 1) {
        infoButton.setVisible(true);
    }
    if (configuration_.enableAccessPoint != 0) {
        modeSelector.setEnabled(true);
    }
    if (settings_.library.WL_RetrieveSiteSurveyData(&settings_.adapter, surveyBuffer_.data(),
                                                   static_cast<int>(surveyBuffer_.size())) == -1) {
        // The last result stays listed, and Refresh is offered again at once rather than
        // waiting for the adapter to be reopened.
        setListScanning(false);
        return;
    }
    settings_.library.WL_FilteSiteSurveyData(&settings_.adapter,
                                            std::span<std::uint8_t, adapterbuf::kSurveyBytes>(
                                                surveyBuffer_.data(), adapterbuf::kSurveyBytes));
    fillNetworkList();
    setListScanning(false);
    networkList.setEnabled(networkList.rowCount() > 0);
}

void MainWindow::onRefresh() {
    if (settings_.mode.get() != OperatingMode::kStation) {
        refreshStationList();
        return;
    }
    if (!surveyPending_) {
        startScan();
    }
}

void MainWindow::onListClick(int row) {
    if (settings_.mode.get() != OperatingMode::kStation) {
        return;
    }
    networkList.select(row);
    selectionShown_ = true;
    selectionCountdown_ = kSelectionTicks;
    layOutSelectedNetworkInfo();
    showSelectedNetwork();
}

void MainWindow::showSelectedNetwork() {
    const ConstSurveyBuffer survey{std::span<const std::uint8_t>(surveyBuffer_)};
    const std::optional<ConstSurveyRecordView> record = survey.recordForRow(networkList.selected());
    if (!record) {
        return;
    }
    const std::optional<int> channel = survey::channelFromFrequency(record->frequency());
    infoValues[kSelectedChannel].setText(channel ? std::to_string(*channel)
                                                 : std::string("Unknow"));
    switch (record->infrastructureMode()) {
        case 0:
            infoValues[kSelectedType].setText(text("MP_STA_Select_NetType_Ad_Hoc", "Ad-Hoc"));
            break;
        case 1:
            infoValues[kSelectedType].setText(
                text("MP_STA_Select_NetType_Infra", "Infrastructure"));
            break;
        default:
            infoValues[kSelectedType].setText(text("MP_STA_Select_NetType_Unknown", "Unknown"));
            break;
    }
    infoValues[kSelectedWep].setText(record->privacy() != 0 ? text("MP_STA_WEP_On", "On")
                                                            : text("MP_STA_WEP_Off", "Off"));
    infoValues[kSelectedBssid].setText(BytesToHexText(record->bssid()));
}

}  // namespace rizorivu::ui
