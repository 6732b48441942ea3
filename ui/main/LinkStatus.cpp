#include "ui/main/LinkStatus.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "adapter/ConnectState.h"
#include "adapter/DriverCode.h"
#include "adapter/NetworkType.h"
#include "settings/Configuration.h"
#include "settings/HexText.h"
#include "settings/LocalizedText.h"
#include "settings/SettingsContext.h"
#include "ui/main/TrayAnimation.h"

namespace rizorivu::ui {

LinkStatus::LinkStatus(MainWindowControls& controls, SettingsContext& settings,
                       const Configuration& configuration, const LocalizedText& texts,
                       TrayAnimation& tray)
    : controls_(controls),
      settings_(settings),
      configuration_(configuration),
      texts_(texts),
      tray_(tray) {}

void LinkStatus::layOut() {
    MainWindowControls& c = controls_;
    c.linkStatusLabel.setText(texts_.text("MP_STA_Link_Status", "Link Status:"));
    c.signalLabel.setText(texts_.text("MP_STA_Signal_Strength", "Signal Strength:"));
    c.qualityLabel.setText(texts_.text("MP_STA_Link_Quality", "Link Quality:"));
    c.txFrameLabel.setText(texts_.text("MP_STA_Tx_Frame", "Tx Frame:"));
    c.rxFrameLabel.setText(texts_.text("MP_STA_Rx_Frame", "Rx Frame:"));
    for (Label* label :
         {&c.linkStatusLabel, &c.signalLabel, &c.qualityLabel, &c.txFrameLabel, &c.rxFrameLabel}) {
        label->setVisible(true);
    }
    for (Label* value : {&c.linkStatusValue, &c.signalPercent, &c.qualityPercent, &c.txFrameValue,
                         &c.rxFrameValue}) {
        value->setText("");
        value->setVisible(true);
    }
    for (ProgressBar* bar : {&c.signalBar, &c.qualityBar}) {
        bar->setRange(MainWindowControls::kBarMinimum, MainWindowControls::kBarMaximum);
        bar->setPosition(MainWindowControls::kBarMinimum);
        bar->setVisible(true);
    }
}

void LinkStatus::show() {
    AdapterLibrary& library = settings_.library;
    AdapterRecord* adapter = &settings_.adapter;
    const LocalizedText& text = texts_;
    const Configuration& configuration = configuration_;
    MainWindowControls& c = controls_;

    const int state = library.QueryWL_ConnectState(adapter);
    const int type = library.QueryWL_NetworkType(adapter);
    if (type == -1 || (state != toDriver(ConnectState::Connected) &&
                       state != toDriver(ConnectState::NotConnected))) {
        return;
    }
    const bool connected = state == toDriver(ConnectState::Connected);
    bool qualityAvailable = connected;
    std::string status;
    if (connected) {
        connectingDots_ = 0;
        std::array<std::uint8_t, adapterbuf::kMacBytes> bssid{};
        if (library.QueryWL_BSSID(adapter, bssid) == -1) {
            bssid.fill(0);
        }
        status = connectedText(text, type, configuration.pseudoIbssSupport);
        if (configuration.showBssid != 0) {
            status += " BSSID=" + BytesToHexText(bssid);
        }
    } else {
        tray_.linkDown();
        if (fromDriver<NetworkType>(type) == NetworkType::AdHoc) {
            status = text.text("MP_STA_Link_Status_In_Ad_Hoc", "In Ad-Hoc Mode.");
        } else {
            status = connectingText(text, connectingDots_);
            connectingDots_ = connectingDots_ >= kMaxConnectingDots ? 0 : connectingDots_ + 1;
        }
    }
    c.linkStatusValue.setText(status);

    if (!connected) {
        averages_.reset();
    } else {
        const int rssi = library.QueryWL_RSSI(adapter);
        const int quality = library.QueryWL_CommQuality(adapter);
        qualityAvailable = quality != -1;
        averages_.add(rssi == -1 ? std::nullopt : std::optional<int>(rssi),
                      quality == -1 ? std::nullopt : std::optional<int>(quality));
        // A reading the adapter did not answer counts as an empty slot; the shown percent
        // stays within the bar's range even then.
        constexpr int kMin = MainWindowControls::kBarMinimum;
        constexpr int kMax = MainWindowControls::kBarMaximum;
        const int signal = std::clamp(averages_.signalPercent(), kMin, kMax);
        const int linkQuality = std::clamp(averages_.qualityPercent(), kMin, kMax);
        c.signalPercent.setText(std::to_string(signal) + "%");
        c.signalBar.setPosition(signal);
        c.qualityPercent.setText(std::to_string(linkQuality) + "%");
        c.qualityBar.setPosition(linkQuality);
    }
    for (Control* control :
         {static_cast<Control*>(&c.signalLabel), static_cast<Control*>(&c.signalBar),
          static_cast<Control*>(&c.signalPercent)}) {
        control->setVisible(connected);
    }
    for (Control* control :
         {static_cast<Control*>(&c.qualityLabel), static_cast<Control*>(&c.qualityBar),
          static_cast<Control*>(&c.qualityPercent)}) {
        control->setVisible(connected && qualityAvailable);
    }
    for (Label* label : {&c.txFrameLabel, &c.txFrameValue, &c.rxFrameLabel, &c.rxFrameValue}) {
        label->setVisible(connected);
    }
    if (connected) {
        FrameCounts counts;
        if (library.GetTxRxFrameCount(adapter, &counts) != -1) {
            c.txFrameValue.setText(std::to_string(counts.transmitted));
            c.rxFrameValue.setText(std::to_string(counts.received));
            tray_.countFrames(std::uint64_t{counts.transmitted} + counts.received);
        }
    }
    tray_.step(connected);
}

}  // namespace rizorivu::ui
