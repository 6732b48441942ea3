// The WPA worker inside the running utility: the station's stored WPA-PSK settings start it
// when the adapter opens, and it is stopped before the adapter leaves station mode or its
// record is closed and opened again.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

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

TEST(WpaWorkerInUtility, KeyThatCannotBeExportedIsToldOnTheInterfaceThreadAndEndsTheWorker) {
    SimulatedUtility u(settingsWorld() +
                           "[Network.Campus]\nSSID=Campus\nBSSID=02-10-00-00-00-04\nChannel=1\n"
                           "Security=wpa-eap\nCipher=aes\n",
                       SimulatedUtility::simulatorConfiguration(), CodePage::kDefaultName,
                       SimulatedUtility::Wpa::Worker);
    storeStationPsk(u);
    // WPA with EAP-TLS and a client certificate the store does not hold.
    u.bed.last.writeLastSetting(OperatingMode::kStation, settingname::kSsid, "Campus");
    u.bed.last.writeLastSetting(OperatingMode::kStation, settingname::kAuthenticationMode, "3");
    u.bed.last.writeLastSetting(OperatingMode::kStation, settingname::kDot1xProtocol, "0");
    u.bed.last.writeLastSetting(OperatingMode::kStation, settingname::kDot1xCertSubject,
                                "CN=Nobody");
    u.run([&](MainWindow&) {
        // The simulated link comes up as its clock moves; the worker looks once a second.
        for (int i = 0; i < 1000 && !u.worker->workerEnded(); ++i) {
            u.bed.clock.advance(100);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_TRUE(u.worker->workerEnded());
        EXPECT_TRUE(u.host.messages().empty()) << "nothing is shown from the worker's thread";
        ASSERT_EQ(u.host.posted(), std::deque<int>{MainWindow::kKeyNotExportable});
        u.host.deliverPosted();
        ASSERT_EQ(u.host.messages().size(), 1u);
        EXPECT_EQ(u.host.messages()[0].box.text, MainWindow::kKeyNotExportableText);
    });
}

}  // namespace
}  // namespace rizorivu::testing
