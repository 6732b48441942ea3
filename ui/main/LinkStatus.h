#pragma once

#include "ui/main/MainWindowControls.h"
#include "ui/main/StationStatusText.h"

namespace rizorivu {
struct Configuration;
struct SettingsContext;
class LocalizedText;
}  // namespace rizorivu

namespace rizorivu::ui {

class TrayAnimation;

// The station view below the information box: link status, the averaged signal and quality
// bars and the frame counters, refreshed on each status tick; it also steps the tray
// animation, which follows the link.
class LinkStatus {
public:
    // "Connecting..." grows by one group of dots a tick and starts over after this many.
    static constexpr int kMaxConnectingDots = 18;

    LinkStatus(MainWindowControls& controls, SettingsContext& settings,
               const Configuration& configuration, const LocalizedText& texts, TrayAnimation& tray);

    void layOut();
    void show();
    // Start-up and a reopened adapter: "Connecting..." starts with no dots.
    void restartConnecting() { connectingDots_ = 0; }
    void resetAverages() { averages_.reset(); }

private:
    MainWindowControls& controls_;
    SettingsContext& settings_;
    const Configuration& configuration_;
    const LocalizedText& texts_;
    TrayAnimation& tray_;
    int connectingDots_ = 0;
    SignalAverages averages_;
};

}  // namespace rizorivu::ui
