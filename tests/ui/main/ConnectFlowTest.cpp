#include "ui/main/ConnectFlow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/SimulatedUtility.h"
#include "tests/support/TestWorlds.h"
#include "ui/CTrayIcon.h"
#include "ui/main/MainWindow.h"
#include "ui/station/WepKeysDialog.h"
#include "ui/wpa/WpaSettingsDialog.h"

namespace rizorivu {
namespace {

using testing::HeadlessHost;
using ui::DialogCode;
using ui::MainWindow;
using ui::MessageAnswer;

constexpr int kPollPeriodMs = 750;

// The world with an open, a WEP and a WPA-PSK network. The WEP network takes shared-key
// authentication only, so that a wrong key cannot associate at all.
std::string world() {
    std::string text = testing::settingsWorld();
    const std::string wep = "Security=wep\n";
    text.replace(text.find(wep), wep.size(), wep + "WepAuth=shared\n");
    return text;
}

// The utility on that world, its WPA switch on.
struct Utility : testing::SimulatedUtility {
    Utility() : SimulatedUtility(world(), configuration()) {}
    static Configuration configuration() {
        Configuration c = simulatorConfiguration();
        c.wpaMode = 1;
        c.mainPageUpdateTimeMs = kPollPeriodMs;
        return c;
    }
    void tickAfterPeriod() {
        bed.clock.advance(kPollPeriodMs);
        ASSERT_TRUE(tick()) << "the poll timer is not running";
    }
    // Ticks until the opening scan is listed; answers the row of `ssid`.
    int listed(MainWindow& window, std::string_view ssid) {
        for (int t = 0; t < 10 && window.surveyPending(); ++t) {
            tickAfterPeriod();
        }
        for (int row = 0; row < window.networkList.rowCount(); ++row) {
            if (window.networkList.cell(row, 0) == ssid) {
                return row;
            }
        }
        ADD_FAILURE() << ssid << " is not listed";
        return -1;
    }
    std::string linkAfterSettling(MainWindow& window) {
        for (int t = 0; t < 4; ++t) {
            tickAfterPeriod();
        }
        return window.linkStatusValue.text();
    }
};

TEST(ConnectFlow, DoubleClickJoinsTheOpenNetworkAtOnce) {
    Utility u;
    u.run([&](MainWindow& window) {
        const int row = u.listed(window, "Home");
        window.onListClick(row);
        const int stopsBefore = u.bed.wpa.stops;
        window.onListDoubleClick(row);
        EXPECT_EQ(u.bed.wpa.stops, stopsBefore + 1);
        EXPECT_TRUE(u.host.messages().empty());
        EXPECT_FALSE(window.selectionShown());
        EXPECT_EQ(window.infoBox.text(), "Current Network Information");
        EXPECT_EQ(u.linkAfterSettling(window), "Connected to Access Point.");
    });
    EXPECT_EQ(u.station("SSID"), "Home");
    EXPECT_EQ(u.station("WEPStatus"), "1");
    EXPECT_TRUE(u.host.errors().empty());
}

// Keyboard users move the selection with the arrow keys and press Enter; the information
// button joins the network its box shows, wherever the list's selection went since.
TEST(ConnectFlow, TheNetworkShownOrEnteredIsTheOneJoined) {
    struct Rows {
        int home;
        int wep;
        int psk;
    };
    struct Case {
        const char* story;
        std::function<void(MainWindow&, const Rows&)> act;
        const char* joined;
        const char* shownBssidBeforeJoining;  // nullptr: the box showed no selected network
    };
    const auto keyTo = [](MainWindow& window, int row) {
        window.networkList.select(row);  // the list took the arrow key
        window.onListSelectionMoved(row);
    };
    const std::vector<Case> cases = {
        {"arrow to Psk, Enter on it",
         [&](MainWindow& w, const Rows& r) {
             keyTo(w, r.psk);
             w.onListEnter(r.psk);
         },
         "Psk", "02 10 00 00 00 03"},
        {"arrow to Home, then Connect this site",
         [&](MainWindow& w, const Rows& r) {
             w.onListClick(r.psk);
             keyTo(w, r.home);
             w.onInfoButton();
         },
         "Home", "02 10 00 00 00 01"},
        {"Wep shown, the list's selection moved on without the user",
         [&](MainWindow& w, const Rows& r) {
             w.onListClick(r.wep);
             w.networkList.select(r.home);
             w.onInfoButton();
         },
         "Wep", "02 10 00 00 00 02"},
        {"Wep shown, the user cleared the selection",
         [&](MainWindow& w, const Rows& r) {
             w.onListClick(r.wep);
             keyTo(w, -1);
             w.onInfoButton();
         },
         "Wep", "02 10 00 00 00 02"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.story);
        Utility u;
        std::string shownBssid;
        u.host.answer(MessageAnswer::Yes);  // the previous key or passphrase, where asked
        u.run([&](MainWindow& window) {
            const Rows rows{u.listed(window, "Home"), u.listed(window, "Wep"),
                            u.listed(window, "Psk")};
            // What the box shows just before the join clears it.
            const auto watch = window.infoBox.subscribe([&](ui::Change) {
                if (window.infoBox.text() == "Current Network Information" && shownBssid.empty()) {
                    shownBssid = window.infoValues[3].text();
                }
            });
            c.act(window, rows);
            window.infoBox.unsubscribe(watch);
            EXPECT_FALSE(window.selectionShown());
        });
        EXPECT_EQ(u.station("SSID"), c.joined);
        EXPECT_EQ(shownBssid, c.shownBssidBeforeJoining);
    }
}

TEST(ConnectFlow, WepNetworkJoinsOnlyWithItsKey) {
    struct Case {
        const char* key;
        bool connects;
    };
    for (const Case& c : {Case{"0102030405", true}, Case{"0102030406", false}}) {
        Utility u;
        u.host.script<ui::WepKeysDialog>(DialogCode::WepKeys,
                                         [&](ui::WepKeysDialog& d, HeadlessHost&) {
                                             EXPECT_EQ(d.parentCode(), DialogCode::Main);
                                             d.onStateButton();
                                             d.keyFields[0].setText(c.key);
                                             d.onKeyEdited(0);
                                             d.onStateButton();
                                             d.end(ui::DialogResult::Ok);
                                         });
        u.run([&](MainWindow& window) {
            const int row = u.listed(window, "Wep");
            window.onListClick(row);
            u.host.answer(MessageAnswer::No);
            window.onInfoButton();  // "Connect this site"
            EXPECT_EQ(u.session.chain.top(), DialogCode::Main);
            const std::string link = u.linkAfterSettling(window);
            EXPECT_EQ(link == "Connected to Access Point.", c.connects) << c.key << ": " << link;
        });
        ASSERT_EQ(u.host.messages().size(), 1u);
        EXPECT_EQ(u.host.messages()[0].box.caption, "Use Previous WEP Setting");
        EXPECT_TRUE(u.host.errors().empty());
    }
}

TEST(ConnectFlow, NothingSelectedLeavesTheRunningLinkAlone) {
    Utility u;
    u.run([&](MainWindow& window) {
        (void)u.listed(window, "Home");
        const std::string link = window.linkStatusValue.text();
        const int stops = u.bed.wpa.stops;
        window.onListDoubleClick(-1);
        EXPECT_EQ(u.bed.wpa.stops, stops);
        EXPECT_EQ(window.linkStatusValue.text(), link);
        u.tickAfterPeriod();  // the poll timer still runs
    });
    EXPECT_TRUE(u.host.errors().empty());
}

TEST(ConnectFlow, WpaSettingsFromTheFlowPauseThePollAndCloseOnExit) {
    Utility u;
    bool pollRanMeanwhile = true;
    u.host.script<ui::WpaSettingsDialog>(
        DialogCode::WpaSettings, [&](ui::WpaSettingsDialog& d, HeadlessHost&) {
            EXPECT_EQ(d.parentCode(), DialogCode::Main);
            EXPECT_EQ(u.session.chain.top(), DialogCode::WpaSettings);
            pollRanMeanwhile = u.tick();
            u.chooseFromTrayMenu(CTrayIcon::kExit);
            EXPECT_TRUE(d.ended()) << "exit closes the WPA settings too";
        });
    u.run([&](MainWindow& window) {
        const int row = u.listed(window, "Psk");
        window.onListClick(row);
        u.host.answer(MessageAnswer::No);
        const int starts = u.bed.wpa.starts;
        window.onListDoubleClick(row);
        EXPECT_EQ(u.bed.wpa.starts, starts + 1) << "the connection starts after the dialog";
        EXPECT_TRUE(window.ended());
    });
    EXPECT_FALSE(pollRanMeanwhile);
    EXPECT_EQ(u.station("AuthenticationMode"), "4");
    EXPECT_EQ(u.station("WEPStatus"), "6");
    EXPECT_TRUE(u.host.errors().empty());
}

TEST(ConnectFlow, AccessPointViewIgnoresTheDoubleClick) {
    Utility u;
    u.run([&](MainWindow& window) {
        const int row = u.listed(window, "Home");
        window.onListClick(row);
        u.session.settings.mode.set(OperatingMode::kAccessPoint);
        const int stops = u.bed.wpa.stops;
        window.onListDoubleClick(row);
        EXPECT_EQ(u.bed.wpa.stops, stops);
        u.session.settings.mode.set(OperatingMode::kStation);
    });
}

}  // namespace
}  // namespace rizorivu
