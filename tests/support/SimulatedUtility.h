#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/Session.h"
#include "app/SessionWindows.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/HeadlessHost.h"
#include "tests/support/RecordingTrayService.h"
#include "wpa/WpaWorker.h"

namespace rizorivu::testing {

// A running utility on the simulator: a world file and a registry in a temporary folder, a
// virtual clock, the session start-up builds, and its windows on a headless host and a
// recording notification area, built as start-up leaves them.
class SimulatedUtility {
public:
    // The WPA connection the session gets: the bed's recording one, which only counts starts
    // and stops, or the WPA worker on the bed's 802.1X library, which connects for real.
    enum class Wpa { Recording, Worker };

    // Matches the simulated product adapter; everything else as the configuration's defaults.
    static Configuration simulatorConfiguration();

    // `codePage` is the machine's ANSI code page.
    SimulatedUtility(const std::string& worldText, const Configuration& configuration,
                     std::string_view codePage = CodePage::kDefaultName, Wpa wpa = Wpa::Recording);
    explicit SimulatedUtility(const std::string& worldText)
        : SimulatedUtility(worldText, simulatorConfiguration()) {}
    ~SimulatedUtility();
    SimulatedUtility(const SimulatedUtility&) = delete;
    SimulatedUtility& operator=(const SimulatedUtility&) = delete;

    // Builds the tray icon, discovery and the main window (once) and answers the window.
    ui::MainWindow& open();
    // Destroys them again, as the end of the process does.
    void close() { windows_.reset(); }
    SessionWindows& windows() { return *windows_; }

    // Runs the main window modally; `user` is everything the user and the world do meanwhile.
    // The windows are gone when it returns; see host.errors() for what no user could have done.
    void run(const std::function<void(ui::MainWindow&)>& user);
    // One poll timer event and the commands it posted; false when the poll timer is not running.
    [[nodiscard]] bool tick();
    // Rewrites the world file and lets the simulator notice.
    void editWorld(const std::string& worldText) { bed.editWorld(worldText); }
    // The user picks `command` from the tray icon's menu.
    void chooseFromTrayMenu(int command);

    int appFlag(std::string_view name) const;
    void setAppFlag(std::string_view name, int value) const;
    std::string station(std::string_view name) const { return bed.station(name); }
    const HeadlessHost::MainWindowState& windowState() const { return host.mainWindowState(); }

    AdapterTestBed bed;
    PrivateProfile profile{bed.ansi};
    // The worker waits on real time: the tests move the virtual clock themselves, tick by tick.
    RealClock workerClock;
    std::unique_ptr<wpa::WpaWorker> worker;
    Session session;
    HeadlessHost host;
    RecordingTrayService tray;

private:
    std::unique_ptr<SessionWindows> windows_;
};

}  // namespace rizorivu::testing
