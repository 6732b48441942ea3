#pragma once

#include "ui/main/NetworkJoin.h"

namespace rizorivu {
struct Configuration;
struct SettingsContext;
class LocalizedText;
class ZeroConfigHandover;
}  // namespace rizorivu

namespace rizorivu::ui {

class ConnectWindow;
class LinkStatus;
class StationView;
class SurveyCycle;
struct MainWindowControls;

// Connecting to a network of the station view's list, from a double click or Enter on its row or
// from the information button while that network is shown: the running WPA connection ends, the
// adapter joins the network, and the window shows the current network again.
class ConnectFlow {
public:
    ConnectFlow(MainWindowControls& controls, SettingsContext& settings,
                const Configuration& configuration, const LocalizedText& texts,
                const SurveyCycle& survey, LinkStatus& link, StationView& station,
                const ZeroConfigHandover& handover, ConnectWindow& window);

    // Joins the network of list row `row`; a row the list does not hold changes nothing.
    void connectTo(int row);

private:
    MainWindowControls& controls_;
    SettingsContext& settings_;
    const LocalizedText& texts_;
    const SurveyCycle& survey_;
    LinkStatus& link_;
    StationView& station_;
    const ZeroConfigHandover& handover_;
    ConnectWindow& window_;
    NetworkJoin join_;
};

}  // namespace rizorivu::ui
