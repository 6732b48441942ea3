#include "ui/main/SurveyCycle.h"

#include <algorithm>
#include <span>
#include <string>

#include "adapter/SurveyBuffer.h"
#include "adapter/ZeroConfigHandover.h"
#include "settings/Configuration.h"
#include "settings/LocalizedText.h"
#include "settings/SettingsContext.h"
#include "ui/main/SurveyCells.h"

namespace rizorivu::ui {

namespace {

constexpr int kSsidColumnWidth = 105;
constexpr int kStrengthColumnWidth = 64;

}  // namespace

SurveyCycle::SurveyCycle(MainWindowControls& controls, SettingsContext& settings,
                         const Configuration& configuration, const LocalizedText& texts,
                         const ZeroConfigHandover& handover)
    : controls_(controls),
      settings_(settings),
      configuration_(configuration),
      texts_(texts),
      handover_(handover),
      // Zero-filled, so the survey's record count starts at 0.
      buffer_(adapterbuf::kSurveyBytes, 0) {}

void SurveyCycle::layOutList() {
    ReportList& list = controls_.networkList;
    list.removeAllRows();
    list.removeAllColumns();
    controls_.listCaption.setText(texts_.text("MP_STA_Available_Network", "Available Network:"));
    controls_.refreshButton.setText(texts_.text("MP_STA_Net_List_Refresh", "Refresh"));
    list.addColumn({texts_.text("MP_STA_Net_List_SSID", "SSID"), kSsidColumnWidth,
                    ReportList::Alignment::Left});
    list.addColumn({texts_.text("MP_STA_Net_List_Strength", "Strength"), kStrengthColumnWidth,
                    ReportList::Alignment::Left});
    fillList();
    list.setFullRowSelect(true);
}

void SurveyCycle::setScanning(bool scanning) {
    // An empty list has nothing to click, whether the scan found nothing or failed.
    controls_.networkList.setEnabled(!scanning && controls_.networkList.rowCount() > 0);
    controls_.refreshButton.setEnabled(!scanning);
    if (scanning) {
        controls_.refreshButton.setText(
            texts_.text("MP_STA_Net_List_Refresh_Scan", "Scanning......"));
        controls_.listCaption.setText(
            texts_.text("MP_STA_Available_Network_Scan", "Scanning Avaliable Network..."));
    } else {
        controls_.refreshButton.setText(texts_.text("MP_STA_Net_List_Refresh", "Refresh"));
        controls_.listCaption.setText(
            texts_.text("MP_STA_Available_Network", "Avaliable Network:"));
    }
}

void SurveyCycle::start() {
    setScanning(true);
    pending_ = true;
    countdown_ = kSurveyWaitTicks;
    controls_.infoButton.setVisible(false);
    controls_.modeSelector.setEnabled(false);
    settings_.library.WL_SiteSurveyStart(&settings_.adapter);
}

void SurveyCycle::refresh() {
    if (!pending_) {
        start();
    }
}

bool SurveyCycle::tick() {
    if (!pending_) {
        return false;
    }
    if (countdown_ > 0) {
        --countdown_;
        return false;
    }
    finish();
    pending_ = false;
    return true;
}

void SurveyCycle::abandon() {
    pending_ = false;
    countdown_ = 0;
}

void SurveyCycle::forget() {
    abandon();
    std::fill(buffer_.begin(), buffer_.end(), std::uint8_t{0});
    controls_.networkList.removeAllRows();
    setScanning(false);
}

void SurveyCycle::finish() {
    if (handover_.state() != ZeroConfigHandover::kServiceControls) {
        controls_.infoButton.setVisible(true);
    }
    if (configuration_.enableAccessPoint != 0) {
        controls_.modeSelector.setEnabled(true);
    }
    if (settings_.library.WL_RetrieveSiteSurveyData(&settings_.adapter, buffer_.data(),
                                                    static_cast<int>(buffer_.size())) == -1) {
        // The last result stays listed, and Refresh is offered again at once rather than
        // waiting for the adapter to be reopened.
        setScanning(false);
        return;
    }
    settings_.library.WL_FilteSiteSurveyData(&settings_.adapter,
                                             std::span<std::uint8_t, adapterbuf::kSurveyBytes>(
                                                 buffer_.data(), adapterbuf::kSurveyBytes));
    fillList();
    setScanning(false);
}

void SurveyCycle::fillList() {
    ReportList& list = controls_.networkList;
    list.removeAllRows();
    const SurveyBuffer survey{std::span<std::uint8_t>(buffer_)};
    const bool showDbm = configuration_.showDbm != 0;
    // Rows follow whichever columns the view laid out: the access-point view has one.
    const bool strengthColumn = list.columns().size() > 1;
    for (std::size_t i = 0; i < survey.recordCount(); ++i) {
        const std::optional<SurveyRecordView> record = survey.record(i);
        if (!record) {
            break;
        }
        // Rows keep the buffer's order: row i is record i, which the selection relies on.
        ReportList::Row row{ssidText(record->ssid(), settings_.ansi)};
        if (strengthColumn) {
            row.push_back(fillStrength(*record, showDbm).text);
        }
        list.addRow(std::move(row));
    }
}

}  // namespace rizorivu::ui
