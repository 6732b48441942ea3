#pragma once

#include "ui/main/MainWindowControls.h"

namespace rizorivu {
struct Configuration;
struct SettingsContext;
class LocalizedText;
}  // namespace rizorivu

namespace rizorivu::ui {

class LinkStatus;
class SurveyCycle;

// The main window in station mode: the network list, the information box with either the
// current network's values or, for a while after a click, the clicked network's, and the link
// status below. Its status tick drives the survey and the values.
class StationView {
public:
    // A clicked network stays in the information box for eight ticks.
    static constexpr int kSelectionTicks = 8;

    StationView(MainWindowControls& controls, SettingsContext& settings,
                const Configuration& configuration, const LocalizedText& texts, SurveyCycle& survey,
                LinkStatus& link);

    bool selectionShown() const { return selectionShown_; }
    // The list row whose network the information box shows while selectionShown(); the list's
    // own selection may have moved since (a deselecting click, a rebuilt list).
    int shownRow() const { return shownRow_; }

    void layOut();
    void tick();
    // Row `row` of the network list was clicked or reached with the keys: it is selected and
    // its network shown in the information box.
    void selectRow(int row);
    // Start-up and a reopened adapter: the information box shows the current network.
    void forgetSelection() { selectionShown_ = false; }
    // After joining a network: the current network's layout, values cleared until the next
    // tick, and the link status.
    void showCurrentNetwork();

private:
    void layOutCurrentNetworkInfo();
    void layOutSelectedNetworkInfo();
    void showCurrentValues();  // the five current-network values
    void showSelectedNetwork();
    void showLinkStatus();  // none while a scan runs

    MainWindowControls& controls_;
    SettingsContext& settings_;
    const Configuration& configuration_;
    const LocalizedText& texts_;
    SurveyCycle& survey_;
    LinkStatus& link_;
    bool selectionShown_ = false;
    int shownRow_ = -1;
    int selectionCountdown_ = 0;
};

}  // namespace rizorivu::ui
