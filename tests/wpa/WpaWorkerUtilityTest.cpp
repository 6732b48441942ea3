// The WPA worker inside the running utility: the station's stored WPA-PSK settings start it
// when the adapter opens, and it is stopped before the adapter leaves station mode or its
// record is closed and opened again.
#include <gtest/gtest.h>

#include "settings/SettingNames.h"
#include "tests/support/SimulatedUtility.h"
#include "tests/support/TestWorlds.h"
#include "ui/main/MainWindow.h"

namespace rizorivu::testing {
namespace {

using ui::MainWindow;

void storeStationPsk(SimulatedUtility& u) {
    const auto store = [&u](std::string_view name, std::string_view text) {
        u.bed.last.writeLastSetting(OperatingMode::kStation, name, text);
    };
    store(settingname::kSsid, "Psk");
    store(settingname::kNetworkType, "1");
    store(settingname::kAuthenticationMode, "4");
    store(settingname::kWepStatus, "6");
    store(settingname::kDot1xPassphrase, "correct horse");
}

void chooseMode(MainWindow& window, int mode) {
    window.modeSelector.select(mode);
    window.onModeSelected();
}

TEST(WpaWorkerInUtility, ModeSwitchStopsTheWorkerAndTheStationsReplayStartsItAgain) {
    Configuration configuration = SimulatedUtility::simulatorConfiguration();
    configuration.enableAccessPoint = 1;
    SimulatedUtility u(settingsWorld(), configuration, CodePage::kDefaultName,
                       SimulatedUtility::Wpa::Worker);
    storeStationPsk(u);
    u.run([&](MainWindow& window) {
        EXPECT_TRUE(u.worker->hasWorker()) << "the replay at open starts the connection";
        chooseMode(window, MainWindow::kModeAccessPoint);
        EXPECT_FALSE(u.worker->hasWorker());
        chooseMode(window, MainWindow::kModeStation);
        EXPECT_TRUE(u.worker->hasWorker());
    });
    EXPECT_FALSE(u.worker->hasWorker()) << "the window stops it as it goes";
}

TEST(WpaWorkerInUtility, OpeningTheAdapterAgainStopsTheConnectionFirst) {
    Configuration configuration = SimulatedUtility::simulatorConfiguration();
    configuration.enableAccessPoint = 1;
    SimulatedUtility u(settingsWorld(), configuration);
    storeStationPsk(u);
    u.run([&](MainWindow& window) {
        const int stops = u.bed.wpa.stops;
        const int starts = u.bed.wpa.starts;
        window.onAdapterSelected();
        EXPECT_EQ(u.bed.wpa.stops, stops + 1);
        EXPECT_EQ(u.bed.wpa.starts, starts + 1) << "the replay after the open starts it again";
        chooseMode(window, MainWindow::kModeAccessPoint);
        EXPECT_EQ(u.bed.wpa.stops, stops + 2);
        EXPECT_EQ(u.bed.wpa.starts, starts + 1);
    });
}

}  // namespace
}  // namespace rizorivu::testing
