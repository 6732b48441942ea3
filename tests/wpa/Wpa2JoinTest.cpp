// Joining WPA2 networks in the running utility, as a user does: a double click on the listed
// network, "Use Previous WPA Setting" answered Yes, and the WPA worker with the utility's own
// 802.1X library against the simulated access point, until the window says how it went.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "adapter/AdapterLibrary.h"
#include "settings/SettingNames.h"
#include "tests/support/SimulatedUtility.h"
#include "tests/support/TestWorlds.h"
#include "ui/main/MainWindow.h"

namespace rizorivu::testing {
namespace {

using ui::MainWindow;

struct Wpa2Join {
    const char* ssid;
    const char* passphrase;
    bool connects;
    const char* encryption;  // shown once connected
};

void PrintTo(const Wpa2Join& j, std::ostream* os) {
    *os << j.ssid << (j.connects ? "" : ", wrong passphrase");
}

// The product's configuration joins WPA networks as such only with WPAMode on.
Configuration wpaConfiguration() {
    Configuration configuration = SimulatedUtility::simulatorConfiguration();
    configuration.wpaMode = 1;
    return configuration;
}

class Wpa2JoinInUtility : public ::testing::TestWithParam<Wpa2Join> {};

TEST_P(Wpa2JoinInUtility, DoubleClickJoinsWithWpa2AndTheWindowSaysSo) {
    const Wpa2Join& c = GetParam();
    SimulatedUtility u(wpa2World(), wpaConfiguration(), CodePage::kDefaultName,
                       SimulatedUtility::Wpa::Worker);
    u.bed.last.writeLastSetting(OperatingMode::kStation, settingname::kDot1xPassphrase,
                                c.passphrase);
    u.run([&](MainWindow& window) {
        for (int tick = 0; tick < 10 && window.surveyPending(); ++tick) {
            u.bed.clock.advance(1000);
            ASSERT_TRUE(u.tick());
        }
        int row = -1;
        for (int r = 0; r < window.networkList.rowCount(); ++r) {
            row = window.networkList.cell(r, 0) == c.ssid ? r : row;
        }
        ASSERT_GE(row, 0);
        window.onListClick(row);
        u.host.answer(ui::MessageAnswer::Yes);
        window.onListDoubleClick(row);
        EXPECT_EQ(u.station(settingname::kAuthenticationMode), "7");

        // The worker and the handshake run in real time while the world's time moves on at half
        // its pace, so that the worker's one-second waits never outrun the access point's own
        // timeouts; until data flows (the keys are right) or the station was sent away.
        AdapterLibrary& library = *u.bed.library;
        AdapterRecord* adapter = &u.session.settings.adapter;
        bool associated = false;
        bool flows = false;
        FrameCounts before{};
        library.GetTxRxFrameCount(adapter, &before);
        for (int step = 0; step < 1500 && !flows; ++step) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            u.bed.clock.advance(10);
            const bool up = library.QueryWL_ConnectState(adapter) == 0;
            FrameCounts after{};
            library.GetTxRxFrameCount(adapter, &after);
            flows = up && after.received > before.received;
            if (associated && !up) {
                break;  // deauthenticated
            }
            associated = associated || up;
            before = after;
        }
        EXPECT_EQ(flows, c.connects);
        EXPECT_TRUE(associated);
        u.bed.clock.advance(1000);
        ASSERT_TRUE(u.tick());
        if (c.connects) {
            EXPECT_EQ(window.linkStatusValue.text(), "Connected to Access Point.");
            EXPECT_EQ(window.infoValues[MainWindow::kInfoEncryption].text(), c.encryption);
        } else {
            EXPECT_NE(window.linkStatusValue.text(), "Connected to Access Point.");
        }
        // The worker spoke with the RSN element.
        EXPECT_EQ(u.station(settingname::kDot1xWpaIes).substr(0, 2), "30");
    });
}

INSTANTIATE_TEST_SUITE_P(Wpa2, Wpa2JoinInUtility,
                         ::testing::Values(Wpa2Join{"Psk2", "correct horse", true, "AES"},
                                           Wpa2Join{"Mixed", "battery staple", true, "TKIP"},
                                           Wpa2Join{"Psk2", "not the phrase", false, ""}),
                         [](const auto& info) {
                             return std::string(info.param.ssid) +
                                    (info.param.connects ? "" : "WrongPassphrase");
                         });

}  // namespace
}  // namespace rizorivu::testing
