#include "ui/main/MainWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/support/AdapterTestBed.h"
#include "tests/support/CommaDecimalLocale.h"
#include "tests/support/HeadlessHost.h"
#include "tests/support/RecordingTrayService.h"
#include "tests/support/SimulatedUtility.h"
#include "tests/support/TestWorlds.h"
#include "ui/CTrayIcon.h"

namespace rizorivu {
namespace {

using testing::AdapterTestBed;
using testing::HeadlessHost;
using testing::RecordingTrayService;
using ui::DialogCode;
using ui::MainWindow;
using ui::MessageAnswer;

constexpr const char* kProductDeviceId = "USB\\VID_F540&PID_0540";
// A card-bus card, which the driver may ask to open only after a delay.
constexpr const char* kCardBusDeviceId = "PCMCIA\\NIMBO-K540";
constexpr const char* kDescription = "Nimbo K-540 Wireless USB Adapter";
constexpr int kPollPeriodMs = 750;
constexpr int kDefaultOsCode = 6;
constexpr int kRestoreCheckOsCode = 7;
constexpr const char* kExitRequest = "REZUreExit";
constexpr const char* kWakeUpRequest = "REZUreWakeUp";

struct WorldOptions {
    const char* extraNetworks = "";
    int showDbm = 0;  // the configuration's signal column in dBm
    bool accessPointCapable = true;
    int zeroConfigAtPlugIn = 0;
    int osCode = kDefaultOsCode;
    bool present = true;
    const char* modeAtPlugIn = "station";
    int enableAccessPoint = 1;  // the configuration's access-point support
    const char* deviceId = kProductDeviceId;
    int pnpWorkaround = 0;                          // the driver asks for the card-bus delay
    const char* codePage = CodePage::kDefaultName;  // the machine's, which the world file is in
    bool homeHidden = false;                        // an empty SSID then finds nothing to join
};

std::string world(const WorldOptions& o) {
    return "[Machine]\nSeed=3\nOsCode=" + std::to_string(o.osCode) +
           "\n[Adapter.K540]\nName=\\DEVICE\\K540\nDescription=" + kDescription +
           "\nClassInstance=0007\nDeviceId=" + o.deviceId +
           "\nPnPWorkaround=" + std::to_string(o.pnpWorkaround) +
           "\nMac=02-00-00-00-05-40\nZeroConfig=" + std::to_string(o.zeroConfigAtPlugIn) +
           "\nPresent=" + (o.present ? "1" : "0") + "\nMode=" + o.modeAtPlugIn +
           "\nAccessPoint=" + (o.accessPointCapable ? "1" : "0") +
           "\n[Network.Home]\nSSID=Home\nBSSID=02-10-00-00-00-01\nChannel=6\nSignal=-50\nHidden=" +
           (o.homeHidden ? "1" : "0") +
           "\n"
           "[Client.Laptop]\nMac=02-C0-00-00-00-0A\n[Client.Phone]\nMac=02-C0-00-00-00-0B\n" +
           o.extraNetworks;
}

Configuration productConfiguration(const WorldOptions& o) {
    Configuration c;
    c.enableAccessPoint = o.enableAccessPoint;
    c.showDbm = o.showDbm;
    c.mainPageUpdateTimeMs = kPollPeriodMs;
    c.matchingDeviceIds = {o.deviceId};
    return c;
}

// A settings dialog the user has open above the main window.
class SettingsDialogStandIn final : public ui::Dialog {
public:
    explicit SettingsDialogStandIn(const ui::DialogEnvironment& environment)
        : ui::Dialog(DialogCode::GeneralSettings, environment) {}
    void recaption() override { title().setText("General Settings"); }
};

// The running instance as start-up leaves it: the tray icon created and taken out of the
// notification area again, the main window run modally with the test as its user.
struct RunningUtility : testing::SimulatedUtility {
    explicit RunningUtility(const WorldOptions& options = {})
        : SimulatedUtility(world(options), productConfiguration(options), options.codePage) {}

    void run(const std::function<void(MainWindow&)>& user) {
        SimulatedUtility::run(user);
        EXPECT_TRUE(host.errors().empty()) << host.errors().front();
    }
    void tick() { ASSERT_TRUE(SimulatedUtility::tick()) << "the poll timer is not running"; }
    void editWorld(const WorldOptions& options) { SimulatedUtility::editWorld(world(options)); }

    // Opens a settings dialog above the main window; `meanwhile` runs while it is open.
    // Answers whether something other than its user closed it.
    bool withSettingsDialogOpen(const std::function<void()>& meanwhile) {
        SettingsDialogStandIn dialog(windows().environment);
        dialog.setParentCode(DialogCode::Main);
        bool closedMeanwhile = false;
        host.script(DialogCode::GeneralSettings, [&](ui::Dialog& d, HeadlessHost&) {
            meanwhile();
            closedMeanwhile = d.ended();
        });
        host.runModal(dialog);
        session.chain.leave(dialog);
        session.chain.setTop(DialogCode::Main);
        return closedMeanwhile;
    }

    int zeroConfigStatus() {
        return bed.library->QueryWL_CheckWZCStatus(&session.settings.adapter);
    }
    int privateOids() { return bed.library->QueryWL_QVUseQVXOidState(&session.settings.adapter); }
};

TEST(MainWindowTest, StartUpFindsTheAdapterAndWaitsHiddenInTheTray) {
    RunningUtility u;
    u.run([&](MainWindow& window) {
        EXPECT_TRUE(window.adapterOpen());
        EXPECT_EQ(window.adapterSelector.items(), std::vector<std::string>{kDescription});
        EXPECT_EQ(window.adapterSelector.selected(), 0);
        EXPECT_EQ(window.title().text(), "Nimbo K-540 Utility  ");
        EXPECT_TRUE(window.modeSelector.visible()) << "the adapter reported station mode";
        EXPECT_EQ(window.modeSelector.selectedItem(), "Station");

        EXPECT_TRUE(u.tray.shown);
        EXPECT_EQ(u.tray.shownIcon, MainWindow::kIconNotConnected);
        EXPECT_EQ(u.windowState().x, MainWindow::kOffScreenX);
        EXPECT_EQ(u.windowState().y, MainWindow::kOffScreenY);
        const HeadlessHost::Timer* poll = u.host.timer(MainWindow::kPollTimer);
        ASSERT_NE(poll, nullptr);
        EXPECT_TRUE(poll->running);
        EXPECT_EQ(poll->periodMs, kPollPeriodMs);

        // Opening replayed the station's settings, defaults included.
        EXPECT_EQ(u.station("NetworkType"), "1");
        EXPECT_EQ(u.station("FragmentationThreshold"), "2346");

        u.tick();
        EXPECT_FALSE(u.windowState().visible) << "until opened from the tray the window hides";
        EXPECT_FALSE(window.ended());
    });
}

TEST(MainWindowTest, WithoutAdapterNothingShowsUntilOneIsPluggedIn) {
    RunningUtility u({.present = false});
    u.run([&](MainWindow& window) {
        EXPECT_FALSE(window.adapterOpen());
        EXPECT_FALSE(u.tray.shown);
        u.tick();
        u.tick();
        EXPECT_FALSE(u.tray.shown);
        EXPECT_FALSE(u.windowState().visible);

        u.editWorld({.present = true});
        u.tick();
        EXPECT_TRUE(window.adapterOpen());
        EXPECT_TRUE(u.tray.shown);
        EXPECT_EQ(window.adapterSelector.selectedItem(), kDescription);
        EXPECT_EQ(window.listCaption.text(), "Avaliable Network:");
    });
}

TEST(MainWindowTest, CardBusDeferralAfterALossListsNoAdapter) {
    RunningUtility u({.deviceId = kCardBusDeviceId, .pnpWorkaround = 1});
    u.run([&](MainWindow& window) {
        for (int tick = 0; tick <= AdapterDiscovery::kDeferTicks && !window.adapterOpen(); ++tick) {
            u.tick();
        }
        ASSERT_TRUE(window.adapterOpen()) << "the first plug-in waits as well";
        ASSERT_EQ(window.adapterSelector.items(), std::vector<std::string>{kDescription});

        u.editWorld({.present = false, .deviceId = kCardBusDeviceId, .pnpWorkaround = 1});
        u.tick();
        ASSERT_FALSE(window.adapterOpen());
        EXPECT_TRUE(window.adapterSelector.items().empty()) << "the lost adapter is not offered";

        // Plugged in again at once: the driver's delay starts over, and nothing is listed.
        u.editWorld({.deviceId = kCardBusDeviceId, .pnpWorkaround = 1});
        for (int tick = 1; tick < AdapterDiscovery::kDeferTicks; ++tick) {
            u.tick();
            ASSERT_FALSE(window.adapterOpen()) << tick;
            ASSERT_TRUE(window.adapterSelector.items().empty()) << tick;
        }
        for (int tick = 0; tick < 2 && !window.adapterOpen(); ++tick) {
            u.tick();
        }
        EXPECT_TRUE(window.adapterOpen());
        EXPECT_EQ(window.adapterSelector.items(), std::vector<std::string>{kDescription});
    });
}

TEST(MainWindowTest, SecondStartWakesTheWindowAtTheNextTick) {
    RunningUtility u;
    u.run([&](MainWindow& window) {
        EXPECT_TRUE(window.startHidden());
        u.tick();
        ASSERT_FALSE(u.windowState().visible);
        u.setAppFlag(kWakeUpRequest, 1);
        u.tick();
        EXPECT_TRUE(u.windowState().visible);
        EXPECT_TRUE(u.windowState().centred);
        EXPECT_EQ(u.appFlag(kWakeUpRequest), 0);
        EXPECT_FALSE(window.startHidden());
        u.tick();
        EXPECT_TRUE(u.windowState().visible) << "once opened, ticks no longer hide it";
    });
}

TEST(MainWindowTest, ExitRequestWinsOverWakeUpAndOnlyItIsReset) {
    RunningUtility u;
    u.run([&](MainWindow& window) {
        u.setAppFlag(kExitRequest, 1);
        u.setAppFlag(kWakeUpRequest, 1);
        u.tick();
        EXPECT_TRUE(window.ended());
        EXPECT_EQ(u.appFlag(kExitRequest), 0);
        EXPECT_EQ(u.appFlag(kWakeUpRequest), 1);
        EXPECT_FALSE(u.host.timer(MainWindow::kPollTimer)->running);
        EXPECT_FALSE(u.windowState().centred) << "the window was never opened";
    });
}

TEST(MainWindowTest, UnpluggedAdapterClosesEverythingAndReplugReplays) {
    RunningUtility u;
    u.run([&](MainWindow& window) {
        u.setAppFlag(kWakeUpRequest, 1);
        u.tick();
        ASSERT_TRUE(u.windowState().visible);
        const int stopsBefore = u.bed.wpa.stops;

        const bool closedFromOutside = u.withSettingsDialogOpen([&] {
            u.editWorld({.present = false});
            u.tick();
        });
        EXPECT_TRUE(closedFromOutside);
        EXPECT_EQ(u.session.chain.top(), DialogCode::Main);
        EXPECT_FALSE(u.windowState().visible);
        EXPECT_FALSE(u.tray.shown);
        EXPECT_FALSE(window.adapterOpen());
        EXPECT_EQ(u.bed.wpa.stops, stopsBefore + 1);
        EXPECT_EQ(u.session.settings.savedWzcStatus, -1);
        EXPECT_FALSE(window.ended());

        // A setting lost meanwhile comes back with the replay at the next plug-in.
        u.session.settings.appKey.deleteValue(LastSettings::sectionKey(OperatingMode::kStation),
                                              "FragmentationThreshold");
        u.tick();
        EXPECT_FALSE(u.tray.shown);
        u.editWorld({.present = true});
        u.tick();
        EXPECT_TRUE(window.adapterOpen());
        EXPECT_TRUE(u.tray.shown);
        EXPECT_EQ(u.tray.shownIcon, MainWindow::kIconNotConnected);
        EXPECT_EQ(u.station("FragmentationThreshold"), "2346");
    });
}

TEST(MainWindowTest, ZeroConfigurationTakingTheAdapterClosesDialogsAndShowsItsIcon) {
    RunningUtility u({.zeroConfigAtPlugIn = 2});
    u.run([&](MainWindow& window) {
        u.setAppFlag(kWakeUpRequest, 1);
        u.tick();
        ASSERT_TRUE(u.windowState().visible);

        const bool closedFromOutside = u.withSettingsDialogOpen([&] {
            u.editWorld({.zeroConfigAtPlugIn = 1});
            u.tick();
        });
        EXPECT_TRUE(closedFromOutside);
        EXPECT_FALSE(u.windowState().visible);
        EXPECT_TRUE(u.tray.shown);
        EXPECT_EQ(u.tray.shownIcon, MainWindow::kIconZeroConfig);
        EXPECT_EQ(window.wzcState(), ZeroConfigHandover::kServiceControls);
        EXPECT_EQ(u.privateOids(), ZeroConfigHandover::kPrivateOidsOff);
        EXPECT_FALSE(window.ended());
    });
}

TEST(MainWindowTest, OpeningWhileZeroConfigurationControlsAsksFirst) {
    struct Case {
        const char* name;
        MessageAnswer answer;
        bool shown;
        int statusAfter;
    };
    for (const Case& c :
         {Case{"No", MessageAnswer::No, false, 1}, Case{"Yes", MessageAnswer::Yes, true, 0}}) {
        SCOPED_TRACE(c.name);
        RunningUtility u({.zeroConfigAtPlugIn = 2});
        u.run([&](MainWindow& window) {
            u.tick();
            u.editWorld({.zeroConfigAtPlugIn = 1});
            u.tick();
            ASSERT_EQ(window.wzcState(), ZeroConfigHandover::kServiceControls);

            u.host.answer(c.answer);
            u.tray.doubleClick();
            u.host.deliverPosted();
            ASSERT_EQ(u.host.messages().size(), 1u);
            const ui::MessageBox& box = u.host.messages().back().box;
            EXPECT_EQ(box.caption, "Wireless Zero Configuration");
            EXPECT_EQ(box.text,
                      "Wireless LAN is Controlled by the Windows Zero Configuration.\n"
                      "Do you want to use REZUre as the Wireless LAN configuration tool?");
            EXPECT_EQ(box.buttons, ui::MessageButtons::YesNo);

            EXPECT_EQ(u.windowState().visible, c.shown);
            EXPECT_EQ(u.windowState().centred, c.shown);
            EXPECT_EQ(u.zeroConfigStatus(), c.statusAfter);
            EXPECT_TRUE(u.host.timer(MainWindow::kPollTimer)->running);

            // Polling goes on: a second start's request is still seen.
            u.setAppFlag(kWakeUpRequest, 1);
            u.tick();
            EXPECT_EQ(u.appFlag(kWakeUpRequest), 0);
        });
    }
}

TEST(MainWindowTest, ExitGivesZeroConfigurationBackTheStatusFoundAtOpen) {
    struct Case {
        int atPlugIn;
        int osCode;
        int statusAfterOpen;  // status 2 is not written at open
        int statusAfterExit;
    };
    for (const Case& c : {
             Case{0, kDefaultOsCode, 0, 0},
             Case{1, kDefaultOsCode, 0, 1},
             Case{1, kRestoreCheckOsCode, 0, 1},
             Case{2, kDefaultOsCode, 2, 2},
             Case{2, kRestoreCheckOsCode, 2, 1},
         }) {
        SCOPED_TRACE("status " + std::to_string(c.atPlugIn) + " at plug-in, OS code " +
                     std::to_string(c.osCode));
        RunningUtility u({.zeroConfigAtPlugIn = c.atPlugIn, .osCode = c.osCode});
        u.run([&](MainWindow& window) {
            EXPECT_EQ(u.zeroConfigStatus(), c.statusAfterOpen);
            u.tick();
            u.chooseFromTrayMenu(CTrayIcon::kExit);
            EXPECT_TRUE(window.ended());
            EXPECT_EQ(u.zeroConfigStatus(), c.statusAfterExit);
            EXPECT_EQ(u.privateOids(), ZeroConfigHandover::kPrivateOidsOff);
        });
    }
}

TEST(MainWindowTest, ExitClosesOpenDialogsAndTheWindowLast) {
    RunningUtility u;
    int wpaStopsBeforeExit = 0;
    u.run([&](MainWindow& window) {
        wpaStopsBeforeExit = u.bed.wpa.stops;
        const bool closedFromOutside =
            u.withSettingsDialogOpen([&] { u.chooseFromTrayMenu(CTrayIcon::kExit); });
        EXPECT_TRUE(closedFromOutside);
        EXPECT_TRUE(window.ended());
        ASSERT_EQ(u.host.endings().size(), 2u);
        EXPECT_EQ(u.host.endings().back().code, DialogCode::Main);
    });
    EXPECT_EQ(u.bed.wpa.stops, wpaStopsBeforeExit + 1) << "the window stops WPA as it goes";
}

TEST(MainWindowTest, EnterEscapeAndTheWindowBoxesNeverEndTheWindow) {
    RunningUtility u;
    u.run([&](MainWindow& window) {
        u.setAppFlag(kWakeUpRequest, 1);
        u.tick();
        ASSERT_TRUE(u.windowState().visible);

        window.onOk();
        window.onCancel();
        EXPECT_FALSE(window.ended());
        EXPECT_TRUE(u.windowState().visible);

        const int raises = u.windowState().raiseCount;
        window.onCloseBox(false);
        window.onMinimiseBox(false);
        EXPECT_TRUE(u.windowState().visible) << "from the keyboard the boxes only raise";
        EXPECT_EQ(u.windowState().raiseCount, raises + 2);

        window.onMinimiseBox(true);
        EXPECT_FALSE(u.windowState().visible);
        u.setAppFlag(kWakeUpRequest, 1);
        u.tick();
        window.onCloseBox(true);
        EXPECT_FALSE(u.windowState().visible);
        EXPECT_FALSE(window.ended());

        window.onCloseRequest();
        EXPECT_TRUE(window.ended()) << "a close request from outside still ends the run";
        EXPECT_EQ(window.result(), ui::DialogResult::Cancel);
    });
}

TEST(MainWindowTest, OpeningFollowsTheModeTheAdapterReports) {
    struct Case {
        const char* name;
        WorldOptions options;
        bool modeChoiceShown;
        const char* selectedMode;
        int trayIcon;
    };
    const Case cases[] = {
        {"station", {}, true, "Station", MainWindow::kIconNotConnected},
        {"access point",
         {.modeAtPlugIn = "ap"},
         true,
         "Access Point",
         MainWindow::kIconAccessPoint},
        // Without access-point support the adapter is not asked and the window stays a station.
        {"access point not enabled",
         {.modeAtPlugIn = "ap", .enableAccessPoint = 0},
         false,
         "Station",
         MainWindow::kIconNotConnected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunningUtility u(c.options);
        u.run([&](MainWindow& window) {
            EXPECT_EQ(window.modeSelector.visible(), c.modeChoiceShown);
            EXPECT_EQ(window.modeLabel.visible(), c.modeChoiceShown);
            EXPECT_EQ(window.modeSelector.selectedItem(), c.selectedMode);
            EXPECT_EQ(u.tray.shownIcon, c.trayIcon);
        });
    }
}

TEST(MainWindowTest, AccessPointAdapterGetsItsOwnSettingsReplayed) {
    RunningUtility u({.modeAtPlugIn = "ap"});
    u.run([&](MainWindow& window) {
        EXPECT_EQ(u.session.settings.mode.get(), OperatingMode::kAccessPoint);
        EXPECT_EQ(u.bed.accessPoint("SSID"), "WLAN_AP");
        EXPECT_EQ(u.station("NetworkType"), "") << "the station's settings stay untouched";
        EXPECT_TRUE(window.infoButton.visible());
        EXPECT_TRUE(window.infoButton.enabled());
        EXPECT_FALSE(window.refreshButton.enabled());
    });
}

TEST(MainWindowTest, ChoosingTheAdapterAgainReopensAndReplaysIt) {
    RunningUtility u;
    u.run([&](MainWindow& window) {
        u.session.settings.appKey.deleteValue(LastSettings::sectionKey(OperatingMode::kStation),
                                              "FragmentationThreshold");
        window.adapterSelector.select(0);
        window.onAdapterSelected();
        EXPECT_TRUE(window.adapterOpen());
        EXPECT_EQ(u.station("FragmentationThreshold"), "2346");
        EXPECT_TRUE(u.tray.shown);
    });
}

TEST(MainWindowTest, LanguageChangeLaysTheWindowOutInTheNewLanguage) {
    RunningUtility u({.modeAtPlugIn = "ap"});
    const auto languages = u.bed.dir.write("QVMLu.INI",
                                           "[LANGUAGES]\n"
                                           "Language_1_Section=English\n"
                                           "Language_2_Section=Deutsch\n"
                                           "[English]\n"
                                           "[Deutsch]\n"
                                           "MP_Dialog_Title=Nimbo K-540 Dienstprogramm\n"
                                           "MP_Network_Adapter=Netzwerkadapter:\n"
                                           "MP_STA_AP_Toggle_Button_STA=Station\n"
                                           "MP_STA_AP_Toggle_Button_AP=Zugangspunkt\n");
    ASSERT_TRUE(u.session.text.load(languages, "LANGUAGES"));
    u.run([&](MainWindow& window) {
        ASSERT_EQ(window.title().text(), "Nimbo K-540 Utility  ");
        ASSERT_TRUE(u.session.text.select(2));
        u.session.chain.recaptionFrom(DialogCode::Main);
        EXPECT_EQ(window.title().text(), "Nimbo K-540 Dienstprogramm  ");
        EXPECT_EQ(window.adapterLabel.text(), "Netzwerkadapter:");
        EXPECT_EQ(window.modeSelector.items(),
                  (std::vector<std::string>{"Station", "Zugangspunkt"}));
        EXPECT_EQ(window.modeSelector.selectedItem(), "Zugangspunkt");
        EXPECT_TRUE(window.modeSelector.visible());
    });
}

}  // namespace
}  // namespace rizorivu

namespace rizorivu {
namespace {

// Lets the world move on by one poll period and ticks.
void tickAfterPeriod(RunningUtility& u) {
    u.bed.clock.advance(kPollPeriodMs);
    u.tick();
}

// Opening the adapter starts a scan; the link display waits until its result is in.
void waitForOpeningScan(RunningUtility& u, MainWindow& window) {
    for (int tick = 0; tick < 10 && window.surveyPending(); ++tick) {
        tickAfterPeriod(u);
    }
    ASSERT_FALSE(window.surveyPending());
}

std::string connectingWith(int groups) {
    std::string text = "Connecting...";
    for (int i = 0; i < groups; ++i) {
        text += "...";
    }
    return text;
}

TEST(MainWindowStationStatusTest, ConnectingGrowsUntilTheLinkComesUp) {
    RunningUtility u(WorldOptions{.homeHidden = true});
    u.run([&](MainWindow& window) {
        // Nothing stored: the station is told an empty SSID and finds no network it may join.
        waitForOpeningScan(u, window);
        const std::string before = window.linkStatusValue.text();
        ASSERT_EQ(before.rfind("Connecting...", 0), 0u) << before;
        tickAfterPeriod(u);
        EXPECT_EQ(window.linkStatusValue.text(), before + "...");
        EXPECT_FALSE(window.signalBar.visible());
        EXPECT_FALSE(window.qualityPercent.visible());
        EXPECT_FALSE(window.txFrameValue.visible());
        EXPECT_EQ(window.infoValues[MainWindow::kInfoSsid].text(), "<any>");

        u.session.settings.applier.applySsidText("Home");
        u.bed.clock.advance(2000);
        tickAfterPeriod(u);
        EXPECT_EQ(window.linkStatusValue.text(), "Connected to Access Point.");
        EXPECT_EQ(window.infoValues[MainWindow::kInfoChannel].text(), "6");
        EXPECT_EQ(window.infoValues[MainWindow::kInfoType].text(), "Infrastructure");
        EXPECT_EQ(window.infoValues[MainWindow::kInfoSsid].text(), "Home");
        EXPECT_EQ(window.infoValues[MainWindow::kInfoEncryption].text(), "NONE");
        EXPECT_NE(window.infoValues[MainWindow::kInfoRate].text().find("Mbps"), std::string::npos);
        EXPECT_TRUE(window.signalBar.visible());
        EXPECT_TRUE(window.txFrameValue.visible());
        // -50 dBm with a few dB of jitter: about 84 %.
        EXPECT_GE(window.signalBar.position(), 75);
        EXPECT_LE(window.signalBar.position(), 93);
        EXPECT_EQ(window.signalPercent.text(), std::to_string(window.signalBar.position()) + "%");
    });
}

TEST(MainWindowStationStatusTest, TxRateKeepsItsPointOnAGermanDesktop) {
    const testing::CommaDecimalLocale locale;
    ASSERT_TRUE(locale.active()) << "no German or French locale: run tools/install-deps.sh";
    RunningUtility u({.extraNetworks = "[Network.Slow]\nSSID=Slow\nBSSID=02-10-00-00-00-04\n"
                                       "Channel=3\nSignal=-60\nRates=1* 2* 5.5*\n"});
    u.run([&](MainWindow& window) {
        waitForOpeningScan(u, window);
        u.session.settings.applier.applySsidText("Slow");
        u.bed.clock.advance(2000);
        tickAfterPeriod(u);
        ASSERT_EQ(window.linkStatusValue.text(), "Connected to Access Point.");
        EXPECT_EQ(window.infoValues[MainWindow::kInfoRate].text(), "5.5 Mbps");
    });
}

TEST(MainWindowStationStatusTest, ConnectingTextStartsOverAfterEighteenGroups) {
    RunningUtility u(WorldOptions{.homeHidden = true});
    u.run([&](MainWindow& window) {
        waitForOpeningScan(u, window);
        const std::string longest = connectingWith(MainWindow::kMaxConnectingDots);
        for (int tick = 0; tick < 20 && window.linkStatusValue.text() != longest; ++tick) {
            tickAfterPeriod(u);
        }
        ASSERT_EQ(window.linkStatusValue.text(), longest);
        tickAfterPeriod(u);
        EXPECT_EQ(window.linkStatusValue.text(), "Connecting...");
    });
}

TEST(MainWindowStationStatusTest, TrayIconBlinksWhileFramesFlowAndRestsWhenTheLinkIsDown) {
    RunningUtility u(WorldOptions{.homeHidden = true});
    u.run([&](MainWindow& window) {
        waitForOpeningScan(u, window);
        u.session.settings.applier.applySsidText("Home");
        u.bed.clock.advance(2000);
        tickAfterPeriod(u);
        const int first = u.tray.shownIcon;
        EXPECT_TRUE(first == MainWindow::kIconConnected ||
                    first == MainWindow::kIconConnectedAlternate);
        tickAfterPeriod(u);
        EXPECT_NE(u.tray.shownIcon, first) << "frames moved, so the icon flips";
        EXPECT_EQ(window.trayImage(), u.tray.shownIcon);

        u.session.settings.applier.applySsidText("");
        tickAfterPeriod(u);
        EXPECT_EQ(u.tray.shownIcon, MainWindow::kIconNotConnected);
        EXPECT_FALSE(window.signalBar.visible());
    });
}

}  // namespace
}  // namespace rizorivu

namespace rizorivu {
namespace {

void chooseMode(MainWindow& window, int mode) {
    window.modeSelector.select(mode);
    window.onModeSelected();
}

TEST(MainWindowAccessPointTest, SwitchingToAccessPointShowsItsSettingsAndStations) {
    RunningUtility u;
    u.run([&](MainWindow& window) {
        chooseMode(window, MainWindow::kModeAccessPoint);
        EXPECT_EQ(u.session.settings.mode.get(), OperatingMode::kAccessPoint);
        EXPECT_EQ(u.bed.library->QueryWL_OperationMode_STA_AP(&u.session.settings.adapter), 1);
        EXPECT_EQ(u.tray.shownIcon, MainWindow::kIconAccessPoint);
        EXPECT_TRUE(window.modeSelector.enabled());
        EXPECT_EQ(window.listCaption.text(), "Connect Station List:");
        ASSERT_EQ(window.networkList.columns().size(), 1u);
        EXPECT_EQ(window.networkList.columns()[0].caption, "Station MAC Address");
        EXPECT_EQ(window.infoBox.text(), "Current Network Setting");
        EXPECT_EQ(window.infoValues[0].text(), "6");
        EXPECT_EQ(window.infoValues[1].text(), "WLAN_AP");
        EXPECT_EQ(window.infoValues[2].text(), "Disable");
        EXPECT_EQ(window.infoValues[3].text(), "Level 0");
        EXPECT_FALSE(window.infoValues[4].visible()) << "the fifth row has no label here";
        EXPECT_FALSE(window.linkStatusLabel.visible());
        EXPECT_FALSE(window.signalBar.visible());
        EXPECT_TRUE(window.txFrameValue.visible());
        EXPECT_FALSE(window.refreshButton.enabled());

        for (int tick = 0; tick < MainWindow::kStationListEvery; ++tick) {
            tickAfterPeriod(u);
        }
        EXPECT_EQ(window.networkList.rowCount(), 2);
        EXPECT_EQ(window.networkList.rows()[0][0], "02 C0 00 00 00 0A");
        EXPECT_FALSE(window.txFrameValue.text().empty());

        chooseMode(window, MainWindow::kModeStation);
        EXPECT_EQ(u.session.settings.mode.get(), OperatingMode::kStation);
        EXPECT_EQ(u.tray.shownIcon, MainWindow::kIconNotConnected);
        EXPECT_EQ(window.refreshButton.text(), "Refresh");
        EXPECT_TRUE(window.linkStatusLabel.visible());
        EXPECT_TRUE(window.infoValues[4].visible());
    });
}

TEST(MainWindowAccessPointTest, ChoosingTheActiveModeDoesNothing) {
    RunningUtility u;
    u.run([&](MainWindow& window) {
        const std::size_t iconChanges = u.tray.iconHistory.size();
        chooseMode(window, MainWindow::kModeStation);
        EXPECT_EQ(u.tray.iconHistory.size(), iconChanges);
        EXPECT_EQ(u.session.settings.mode.get(), OperatingMode::kStation);
    });
}

TEST(MainWindowAccessPointTest, StoredValuesOutsideTheirRangeAreReplacedAndWritten) {
    RunningUtility u;
    u.session.settings.last.writeLastSetting(OperatingMode::kAccessPoint, "Channel", "120");
    u.session.settings.last.writeLastSetting(OperatingMode::kAccessPoint, "WEPStatus", "0");
    u.session.settings.last.writeLastSetting(OperatingMode::kAccessPoint, "WEPKeyLength", "128");
    u.session.settings.last.writeLastSetting(OperatingMode::kAccessPoint, "TxPowerLevel", "2");
    u.run([&](MainWindow& window) {
        chooseMode(window, MainWindow::kModeAccessPoint);
        EXPECT_EQ(window.infoValues[0].text(), "6");
        EXPECT_EQ(u.bed.accessPoint("Channel"), "6");
        EXPECT_EQ(window.infoValues[2].text(), "Enable (128-bit)");
        EXPECT_EQ(window.infoValues[3].text(), "Level 2");
    });
}

TEST(MainWindowAccessPointTest, ChannelZeroShowsDashesAndStaysStored) {
    RunningUtility u;
    u.session.settings.last.writeLastSetting(OperatingMode::kAccessPoint, "Channel", "0");
    u.run([&](MainWindow& window) {
        chooseMode(window, MainWindow::kModeAccessPoint);
        EXPECT_EQ(window.infoValues[0].text(), "---");
        EXPECT_EQ(u.bed.accessPoint("Channel"), "0");
    });
}

TEST(MainWindowAccessPointTest, FailedModeWriteSaysSoAndEndsTheUtility) {
    RunningUtility u({.accessPointCapable = false});
    u.run([&](MainWindow& window) {
        window.modeSelector.setVisible(true);  // as if the adapter had offered the choice
        chooseMode(window, MainWindow::kModeAccessPoint);
        ASSERT_FALSE(u.host.messages().empty());
        EXPECT_EQ(u.host.messages().back().box.text,
                  "Wireless Network Adapter Change Mode Fail!!!");
        EXPECT_TRUE(window.ended());
        EXPECT_EQ(window.result(), ui::DialogResult::Closed);
    });
}

}  // namespace
}  // namespace rizorivu

namespace rizorivu {
namespace {

constexpr const char* kMoreNetworks =
    "[Network.Cafe]\nSSID=Cafe\nBSSID=02-10-00-00-00-02\nChannel=11\nSignal=-30\n"
    "Security=wep\nWepKey=01 02 03 04 05\n"
    "[Network.Quiet]\nSSID=Quiet\nBSSID=02-10-00-00-00-03\nChannel=1\nSignal=-90\nHidden=1\n";

std::vector<std::string> column(const ui::ReportList& list, int index) {
    std::vector<std::string> cells;
    for (int row = 0; row < list.rowCount(); ++row) {
        cells.push_back(list.cell(row, index));
    }
    return cells;
}

TEST(MainWindowSurveyTest, ScanIsFetchedOnTheFifthTickAndListedInBufferOrder) {
    RunningUtility u({.extraNetworks = kMoreNetworks});
    u.run([&](MainWindow& window) {
        ASSERT_TRUE(window.surveyPending()) << "opening the adapter starts a scan";
        EXPECT_EQ(window.refreshButton.text(), "Scanning......");
        EXPECT_EQ(window.listCaption.text(), "Scanning Avaliable Network...");
        EXPECT_FALSE(window.refreshButton.enabled());
        EXPECT_FALSE(window.infoButton.visible());
        for (int tick = 1; tick <= 4; ++tick) {
            tickAfterPeriod(u);
            ASSERT_TRUE(window.surveyPending()) << "tick " << tick;
        }
        tickAfterPeriod(u);
        EXPECT_FALSE(window.surveyPending());
        EXPECT_EQ(window.refreshButton.text(), "Refresh");
        EXPECT_EQ(window.listCaption.text(), "Avaliable Network:");
        EXPECT_TRUE(window.networkList.enabled());
        EXPECT_TRUE(window.infoButton.visible());

        // The adapter delivers the strongest first; a hidden network has an empty SSID.
        EXPECT_EQ(column(window.networkList, 0), (std::vector<std::string>{"Cafe", "Home", ""}));
        // -30 dBm counts as -40, that is 100 %; -50 dBm is about 84 %.
        EXPECT_EQ(window.networkList.cell(0, 1), "100%");
        const int home = std::stoi(window.networkList.cell(1, 1));
        EXPECT_GE(home, 75);
        EXPECT_LE(home, 93);
    });
}

TEST(MainWindowSurveyTest, RefreshDuringAScanDoesNothing) {
    RunningUtility u;
    u.run([&](MainWindow& window) {
        tickAfterPeriod(u);
        tickAfterPeriod(u);
        window.onRefresh();  // two ticks in: the opening scan is still pending
        tickAfterPeriod(u);
        tickAfterPeriod(u);
        tickAfterPeriod(u);
        EXPECT_FALSE(window.surveyPending()) << "the running scan was not restarted";
        window.onRefresh();
        EXPECT_TRUE(window.surveyPending());
    });
}

TEST(MainWindowSurveyTest, ClickedNetworkIsShownForEightTicks) {
    RunningUtility u({.extraNetworks = kMoreNetworks});
    u.run([&](MainWindow& window) {
        waitForOpeningScan(u, window);
        window.onListClick(0);
        EXPECT_TRUE(window.selectionShown());
        EXPECT_EQ(window.infoBox.text(), "Selected Network Information");
        EXPECT_EQ(window.infoButton.text(), "Connect this site");
        EXPECT_EQ(window.infoValues[0].text(), "11");
        EXPECT_EQ(window.infoValues[1].text(), "Infrastructure");
        EXPECT_EQ(window.infoValues[2].text(), "On");
        EXPECT_EQ(window.infoValues[3].text(), "02 10 00 00 00 02");
        for (int tick = 0; tick < 8; ++tick) {
            tickAfterPeriod(u);
            ASSERT_TRUE(window.selectionShown()) << tick;
        }
        tickAfterPeriod(u);
        EXPECT_FALSE(window.selectionShown());
        EXPECT_EQ(window.infoBox.text(), "Current Network Information");
    });
}

TEST(MainWindowSurveyTest, SelectedNetworkNamesTheWpaVersionItAdvertises) {
    const std::string networks =
        std::string(kMoreNetworks) +
        "[Network.Lighthouse]\nSSID=Lighthouse\nBSSID=02-10-00-00-00-04\nChannel=3\n"
        "Signal=-20\nSecurity=wpa2-psk\nAlsoWpa=1\nCipher=aes\nPassphrase=eight chars\n";
    RunningUtility u({.extraNetworks = networks.c_str()});
    u.run([&](MainWindow& window) {
        waitForOpeningScan(u, window);
        ASSERT_EQ(window.networkList.cell(0, 0), "Lighthouse");
        window.onListClick(0);
        EXPECT_EQ(window.infoLabels[4].text(), "Security:");
        EXPECT_EQ(window.infoValues[4].text(), "WPA2-PSK");
        EXPECT_TRUE(window.infoValues[4].visible());
        EXPECT_EQ(window.infoValues[2].text(), "On");
        // A WEP network has no WPA security to name: the row stays empty and hidden.
        ASSERT_EQ(window.networkList.cell(1, 0), "Cafe");
        window.onListClick(1);
        EXPECT_EQ(window.infoLabels[4].text(), "");
        EXPECT_FALSE(window.infoValues[4].visible());
    });
}

TEST(MainWindowSurveyTest, ShowDbmListsTheStrengthInDbm) {
    RunningUtility u({.extraNetworks = kMoreNetworks, .showDbm = 1});
    u.run([&](MainWindow& window) {
        waitForOpeningScan(u, window);
        // -30 dBm with a few dB of jitter, not clamped when shown in dBm.
        const std::string cell = window.networkList.cell(0, 1);
        ASSERT_GE(cell.size(), 4u);
        EXPECT_EQ(cell.substr(cell.size() - 4), " dBm");
        const int dbm = std::stoi(cell);
        EXPECT_GE(dbm, -33);
        EXPECT_LE(dbm, -27);
    });
}

TEST(MainWindowSurveyTest, AccessPointViewIgnoresClicksAndAbandonsAPendingScan) {
    RunningUtility u({.extraNetworks = kMoreNetworks});
    u.run([&](MainWindow& window) {
        ASSERT_TRUE(window.surveyPending());
        chooseMode(window, MainWindow::kModeAccessPoint);
        EXPECT_FALSE(window.surveyPending());
        window.onListClick(0);
        EXPECT_FALSE(window.selectionShown());
        chooseMode(window, MainWindow::kModeStation);
        EXPECT_EQ(window.networkList.rowCount(), 0) << "the abandoned scan was never fetched";
    });
}

TEST(MainWindowSurveyTest, ListStartsDisabledAndAfterAFailedScanIsEnabledOnlyWithRows) {
    struct Case {
        const char* name;
        bool earlierScan;  // a scan listed networks before the one that fails
        int rows;
    };
    for (const Case& c : {Case{"first scan fails", false, 0}, Case{"later scan fails", true, 1}}) {
        SCOPED_TRACE(c.name);
        RunningUtility u;
        EXPECT_FALSE(u.open().networkList.enabled()) << "nothing is listed before a scan";
        u.run([&](MainWindow& window) {
            if (c.earlierScan) {
                waitForOpeningScan(u, window);
                window.onRefresh();
            }
            ASSERT_TRUE(window.surveyPending());
            // Someone else turns the adapter into an access point: it has no survey to give.
            u.bed.library->SetWL_OperationMode_STA_AP(&u.session.settings.adapter,
                                                      OperatingMode::kAccessPoint);
            waitForOpeningScan(u, window);
            EXPECT_EQ(window.networkList.rowCount(), c.rows);
            EXPECT_EQ(window.networkList.enabled(), c.rows > 0);
            EXPECT_EQ(window.refreshButton.text(), "Refresh");
            EXPECT_TRUE(window.refreshButton.enabled());
        });
    }
}

TEST(MainWindowSurveyTest, JapaneseSsidReadsAlikeInTheListAndTheInformationBox) {
    const std::string nippon = "\xE6\x97\xA5\xE6\x9C\xAC";  // 日本
    // The world file is in the machine's code page 932, as a Japanese user would write it.
    RunningUtility u({.extraNetworks = "[Network.Nippon]\nSSID=\x93\xFA\x96\x7B\n"
                                       "BSSID=02-10-00-00-00-05\nChannel=1\nSignal=-30\n",
                      .codePage = "CP932"});
    u.run([&](MainWindow& window) {
        waitForOpeningScan(u, window);
        EXPECT_EQ(column(window.networkList, 0), (std::vector<std::string>{nippon, "Home"}));

        u.session.settings.applier.applySsidText(nippon);
        u.bed.clock.advance(2000);
        tickAfterPeriod(u);
        ASSERT_EQ(window.linkStatusValue.text(), "Connected to Access Point.");
        EXPECT_EQ(window.infoValues[MainWindow::kInfoSsid].text(), nippon);
    });
}

// With no adapter open the window shows only its layout: no value of an adapter that has gone,
// no scan that cannot finish, no mode to switch.
void expectNothingStale(RunningUtility& u, MainWindow& window) {
    for (const ui::Label& value : window.infoValues) {
        EXPECT_EQ(value.text(), "");
    }
    EXPECT_EQ(window.linkStatusValue.text(), "");
    EXPECT_EQ(window.txFrameValue.text(), "");
    EXPECT_EQ(window.networkList.rowCount(), 0);
    EXPECT_FALSE(window.networkList.enabled());
    EXPECT_FALSE(window.modeSelector.visible());
    EXPECT_EQ(window.refreshButton.text(), "Refresh");
    EXPECT_FALSE(window.refreshButton.enabled());
    window.onRefresh();
    EXPECT_FALSE(window.surveyPending()) << "a scan without an adapter never finishes";
    tickAfterPeriod(u);
    EXPECT_EQ(window.linkStatusValue.text(), "") << "no link is animated";
    EXPECT_EQ(window.refreshButton.text(), "Refresh");
}

TEST(MainWindowSurveyTest, WithNoAdapterOpenNothingStaleShowsUntilOneIsBack) {
    struct Case {
        const char* name;
        bool presentAtStart;
    };
    for (const Case& c : {Case{"never plugged in", false}, Case{"unplugged", true}}) {
        SCOPED_TRACE(c.name);
        RunningUtility u({.extraNetworks = kMoreNetworks, .present = c.presentAtStart});
        u.run([&](MainWindow& window) {
            if (c.presentAtStart) {
                waitForOpeningScan(u, window);
                u.session.settings.applier.applySsidText("Home");
                u.bed.clock.advance(2000);
                tickAfterPeriod(u);
                ASSERT_EQ(window.linkStatusValue.text(), "Connected to Access Point.");
                window.onRefresh();
                ASSERT_TRUE(window.surveyPending());
                u.editWorld({.extraNetworks = kMoreNetworks, .present = false});
                tickAfterPeriod(u);
                ASSERT_FALSE(window.adapterOpen());
            }
            // A second start opens the window.
            u.setAppFlag(kWakeUpRequest, 1);
            u.tick();
            ASSERT_TRUE(u.windowState().visible);
            expectNothingStale(u, window);

            u.editWorld({.extraNetworks = kMoreNetworks});
            tickAfterPeriod(u);
            ASSERT_TRUE(window.adapterOpen());
            EXPECT_TRUE(window.modeSelector.visible());
            waitForOpeningScan(u, window);
            EXPECT_EQ(window.networkList.rowCount(), 3);
            EXPECT_TRUE(window.networkList.enabled());
            EXPECT_TRUE(window.refreshButton.enabled());
        });
    }
}

}  // namespace
}  // namespace rizorivu

namespace rizorivu {
namespace {

TEST(MainWindowStationStatusTest, StationAloneInItsOwnCellIsInAdHocMode) {
    RunningUtility u;
    u.session.settings.last.writeLastSetting(OperatingMode::kStation, "NetworkType", "0");
    u.session.settings.last.writeLastSetting(OperatingMode::kStation, "SSID", "Lonely");
    u.run([&](MainWindow& window) {
        waitForOpeningScan(u, window);
        u.bed.clock.advance(2000);
        tickAfterPeriod(u);
        EXPECT_EQ(window.linkStatusValue.text(), "In Ad-Hoc Mode.");
        EXPECT_EQ(window.infoValues[MainWindow::kInfoType].text(), "Ad-Hoc");
        EXPECT_EQ(window.infoValues[MainWindow::kInfoSsid].text(), "Lonely");
        EXPECT_FALSE(window.signalBar.visible());
    });
}

TEST(MainWindowSurveyTest, AnotherClickRestartsTheEightTicks) {
    RunningUtility u({.extraNetworks = kMoreNetworks});
    u.run([&](MainWindow& window) {
        waitForOpeningScan(u, window);
        window.onListClick(0);
        for (int tick = 0; tick < 6; ++tick) {
            tickAfterPeriod(u);
        }
        window.onListClick(1);
        EXPECT_EQ(window.infoValues[3].text(), "02 10 00 00 00 01");
        for (int tick = 0; tick < 8; ++tick) {
            tickAfterPeriod(u);
            ASSERT_TRUE(window.selectionShown()) << tick;
        }
        tickAfterPeriod(u);
        EXPECT_FALSE(window.selectionShown());
    });
}

}  // namespace
}  // namespace rizorivu
