#pragma once

#include "ui/main/MainWindowControls.h"

namespace rizorivu {
struct SettingsContext;
class LocalizedText;
}  // namespace rizorivu

namespace rizorivu::ui {

// The main window in access-point mode: the associated stations in the list, the stored
// access-point settings in the information box and the frame counters below.
class AccessPointView {
public:
    static constexpr int kStationListEvery = 5;  // ticks per station-list refresh

    AccessPointView(MainWindowControls& controls, SettingsContext& settings,
                    const LocalizedText& texts)
        : controls_(controls), settings_(settings), texts_(texts) {}

    void layOut();
    // The stored settings; values outside their range are replaced and written.
    void showSettings();
    void refreshStationList();
    void tick();
    // The station list's refresh counts from now.
    void restartStationList() { stationListTicks_ = 0; }

private:
    void showFrameCounts();

    MainWindowControls& controls_;
    SettingsContext& settings_;
    const LocalizedText& texts_;
    int stationListTicks_ = 0;
};

}  // namespace rizorivu::ui
