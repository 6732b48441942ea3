// What a user sees of the utility's first start: on the built-in world it connects by itself,
// and settings that had to be reset because their hive was damaged are owned up to once.

#include <gtest/gtest.h>

#include <string>

#include "sim/DefaultWorld.h"
#include "tests/support/SimulatedUtility.h"
#include "ui/main/MainWindow.h"

namespace rizorivu {
namespace {

using ui::MainWindow;

constexpr int kPollPeriodMs = 1000;

void tickAfterPeriod(testing::SimulatedUtility& u) {
    u.bed.clock.advance(kPollPeriodMs);
    ASSERT_TRUE(u.tick());
}

// Nothing stored: the empty SSID the station is given joins the strongest open network.
TEST(FirstStartTest, OnTheDefaultWorldTheUtilityIsConnectedWithinTheFirstTicks) {
    testing::SimulatedUtility u{std::string(sim::defaultWorldText())};
    u.run([&](MainWindow& window) {
        for (int tick = 0;
             tick < 8 && window.linkStatusValue.text() != "Connected to Access Point."; ++tick) {
            tickAfterPeriod(u);
        }
        EXPECT_EQ(window.linkStatusValue.text(), "Connected to Access Point.");
        EXPECT_EQ(window.infoValues[MainWindow::kInfoSsid].text(), "Halvo Guest");
        EXPECT_EQ(window.infoValues[MainWindow::kInfoChannel].text(), "1");
        EXPECT_TRUE(u.tray.shownIcon == MainWindow::kIconConnected ||
                    u.tray.shownIcon == MainWindow::kIconConnectedAlternate)
            << u.tray.shownIcon;
        EXPECT_EQ(u.station("SSID"), "") << "the user chose nothing; nothing is stored for them";
    });
}

TEST(FirstStartTest, DamagedSettingsAreToldOnceWhenTheWindowFirstShows) {
    const std::string copy = "/home/user/.config/rizorivu/HKEY_CURRENT_USER.hive.damaged-x";
    struct Case {
        const char* name;
        std::vector<std::string> damaged;
        std::size_t messages;
    };
    for (const Case& c : {Case{"sound hives", {}, 0}, Case{"a damaged hive", {copy}, 1}}) {
        SCOPED_TRACE(c.name);
        testing::SimulatedUtility u{std::string(sim::defaultWorldText())};
        u.session.damagedHives = c.damaged;
        u.run([&](MainWindow&) {
            tickAfterPeriod(u);
            EXPECT_TRUE(u.host.messages().empty()) << "the window still hides in the tray";
            for (int opening = 0; opening < 2; ++opening) {
                u.tray.doubleClick();
                u.host.deliverPosted();
                u.host.hideMainWindow();
            }
            ASSERT_EQ(u.host.messages().size(), c.messages);
            if (c.messages != 0) {
                const ui::MessageBox& box = u.host.messages()[0].box;
                EXPECT_NE(box.text.find("reset"), std::string::npos) << box.text;
                EXPECT_NE(box.text.find(copy), std::string::npos) << box.text;
                EXPECT_EQ(box.caption, "Nimbo K-540 Utility");
                EXPECT_EQ(u.host.messages()[0].owner, ui::DialogCode::Main);
            }
        });
    }
}

}  // namespace
}  // namespace rizorivu
