#pragma once

#include <cstdint>
#include <vector>

#include "ui/main/MainWindowControls.h"

namespace rizorivu {
struct Configuration;
struct SettingsContext;
class LocalizedText;
class ZeroConfigHandover;
}  // namespace rizorivu

namespace rizorivu::ui {

// The station view's network list: a site survey started on the adapter, fetched a few status
// ticks later into the survey buffer, and listed in the buffer's order (row i is record i).
class SurveyCycle {
public:
    // The scan result is fetched on the fifth tick after the scan starts.
    static constexpr int kSurveyWaitTicks = 4;

    SurveyCycle(MainWindowControls& controls, SettingsContext& settings,
                const Configuration& configuration, const LocalizedText& texts,
                const ZeroConfigHandover& handover);

    bool pending() const { return pending_; }
    const std::vector<std::uint8_t>& buffer() const { return buffer_; }

    // The list's columns, with the last scan's rows (after a language change or a switch back
    // to the station view).
    void layOutList();
    // List caption and Refresh while a scan runs, or not.
    void setScanning(bool scanning);
    void start();
    // Refresh: a new scan unless one runs.
    void refresh();
    // Counts down a pending scan; true on the tick that fetched it.
    bool tick();
    // A pending scan is dropped (the view left the station, or the adapter was reopened).
    void abandon();
    // The adapter has gone: its scans, pending or listed, go with it.
    void forget();

private:
    void finish();
    void fillList();

    MainWindowControls& controls_;
    SettingsContext& settings_;
    const Configuration& configuration_;
    const LocalizedText& texts_;
    const ZeroConfigHandover& handover_;
    std::vector<std::uint8_t> buffer_;
    bool pending_ = false;
    int countdown_ = 0;
};

}  // namespace rizorivu::ui
