// The access point as a user runs it: the main window's information button, the settings and
// the MAC filter, and what the world's stations do about it in the station list.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/SimulatedUtility.h"
#include "ui/ap/AccessPointSettingsDialog.h"
#include "ui/ap/MacFilterDialog.h"
#include "ui/main/MainWindow.h"

namespace rizorivu {
namespace {

using testing::HeadlessHost;
using ui::AccessPointSettingsDialog;
using ui::DialogCode;
using ui::MacFilterDialog;
using ui::MainWindow;

constexpr int kPollPeriodMs = 750;

std::string accessPointWorld(std::string_view phoneExtra = "") {
    return "[Machine]\nSeed=5\n"
           "[Adapter.K540]\nName=\\DEVICE\\K540\nDescription=Nimbo K-540 Wireless USB Adapter\n"
           "ClassInstance=0007\nDeviceId=USB\\VID_F540&PID_0540\nMac=02-00-00-00-05-40\n"
           "Mode=ap\n"
           "[Client.Laptop]\nMac=02-C0-00-00-00-0A\n"
           "[Client.Phone]\nMac=02-C0-00-00-00-0B\n" +
           std::string(phoneExtra);
}

struct AccessPointUtility : testing::SimulatedUtility {
    explicit AccessPointUtility(std::string_view phoneExtra = "")
        : SimulatedUtility(accessPointWorld(phoneExtra), configuration()) {
        // The item texts of the dialogs' lists come from the product's language file only.
        EXPECT_TRUE(session.text.load(std::filesystem::path(RIZORIVU_PRODUCT_DIR) / "QVMLu.INI",
                                      "LANGUAGES"));
    }

    static Configuration configuration() {
        Configuration c = simulatorConfiguration();
        c.enableAccessPoint = 1;
        c.mainPageUpdateTimeMs = kPollPeriodMs;
        return c;
    }
    // Enough ticks for the access point to (re)start and the list to refresh.
    void waitForStations() {
        for (int tick = 0; tick < 2 * MainWindow::kStationListEvery; ++tick) {
            bed.clock.advance(kPollPeriodMs);
            ASSERT_TRUE(this->tick());
        }
    }
    // The user opens "More Setting..." and does `user` in the access point settings.
    void inSettings(MainWindow& window, std::function<void(AccessPointSettingsDialog&)> user) {
        host.script<AccessPointSettingsDialog>(DialogCode::AccessPointSettings,
                                               [user](AccessPointSettingsDialog& d, HeadlessHost&) {
                                                   user(d);
                                                   d.end(ui::DialogResult::Closed);
                                               });
        window.onInfoButton();
    }
    std::vector<std::string> listedStations(const MainWindow& window) const {
        std::vector<std::string> out;
        for (const auto& row : window.networkList.rows()) {
            out.push_back(row[0]);
        }
        return out;
    }
};

TEST(AccessPointScenario, AFilterThatDeniesOneOfTwoStationsLeavesOneListed) {
    AccessPointUtility u;
    u.run([&](MainWindow& window) {
        ASSERT_EQ(u.session.settings.mode.get(), OperatingMode::kAccessPoint);
        u.waitForStations();
        ASSERT_EQ(window.networkList.rowCount(), 2);

        u.inSettings(window, [&](AccessPointSettingsDialog& settings) {
            u.host.script<MacFilterDialog>(DialogCode::MacFilter,
                                           [](MacFilterDialog& filter, HeadlessHost&) {
                                               filter.slotFields[4].setText("02-C0-00-00-00-0A");
                                               filter.onApply();
                                               filter.typeList.select(2);  // deny listed
                                               filter.onTypeChosen();
                                               filter.end(ui::DialogResult::Closed);
                                           });
            settings.onMacFilter();
        });
        u.waitForStations();
        EXPECT_EQ(u.listedStations(window), std::vector<std::string>{"02 C0 00 00 00 0B"});

        // Allowing only the listed one turns the list around.
        u.inSettings(window, [&](AccessPointSettingsDialog& settings) {
            u.host.script<MacFilterDialog>(DialogCode::MacFilter,
                                           [](MacFilterDialog& filter, HeadlessHost&) {
                                               filter.typeList.select(1);
                                               filter.onTypeChosen();
                                               filter.end(ui::DialogResult::Closed);
                                           });
            settings.onMacFilter();
        });
        u.waitForStations();
        EXPECT_EQ(u.listedStations(window), std::vector<std::string>{"02 C0 00 00 00 0A"});
    });
    EXPECT_TRUE(u.host.errors().empty()) << u.host.errors().front();
    EXPECT_EQ(u.bed.accessPoint("MACFilterMode"), "1");
    EXPECT_EQ(u.bed.accessPoint("MACFilterAddr4"), "02 C0 00 00 00 0A");
}

TEST(AccessPointScenario, TheInformationButtonPausesThePollAndShowsTheNewSettings) {
    AccessPointUtility u("Channel=6\n");
    u.run([&](MainWindow& window) {
        u.waitForStations();
        ASSERT_EQ(window.networkList.rowCount(), 2);
        const std::size_t events = u.host.timerEvents().size();
        u.inSettings(window, [&](AccessPointSettingsDialog& d) {
            EXPECT_FALSE(u.host.timer(MainWindow::kPollTimer) != nullptr &&
                         u.host.timer(MainWindow::kPollTimer)->running)
                << "no tick while the settings are open";
            EXPECT_EQ(d.parentCode(), DialogCode::Main);
            d.onStateButton();
            d.channelList.select(d.channelList.indexOf("11"));
            d.ssidField.setText("Garden");
            d.txPowerList.select(3);
            d.onStateButton();
        });
        EXPECT_EQ(u.session.chain.top(), DialogCode::Main);
        ASSERT_NE(u.host.timer(MainWindow::kPollTimer), nullptr);
        EXPECT_TRUE(u.host.timer(MainWindow::kPollTimer)->running);
        EXPECT_GT(u.host.timerEvents().size(), events);
        EXPECT_EQ(window.infoValues[0].text(), "11");
        EXPECT_EQ(window.infoValues[1].text(), "Garden");
        EXPECT_EQ(window.infoValues[3].text(), "Level 3");

        // The phone looks on channel 6 only; the laptop follows the access point.
        u.waitForStations();
        EXPECT_EQ(u.listedStations(window), std::vector<std::string>{"02 C0 00 00 00 0A"});

        // Hidden, the SSID is known to nobody here.
        u.inSettings(window, [&](AccessPointSettingsDialog& d) {
            d.onStateButton();
            d.hideSsidCheck.setChecked(true);
            d.onStateButton();
        });
        u.waitForStations();
        EXPECT_EQ(window.networkList.rowCount(), 0);
    });
    EXPECT_TRUE(u.host.errors().empty()) << u.host.errors().front();
}

}  // namespace
}  // namespace rizorivu
