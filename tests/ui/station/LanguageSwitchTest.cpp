#include "ui/station/LanguageSwitch.h"

#include <gtest/gtest.h>

#include "adapter/AdapterDiscovery.h"
#include "tests/support/RecordingTrayService.h"
#include "tests/ui/station/StationBed.h"
#include "ui/CTrayIcon.h"
#include "ui/main/MainWindow.h"
#include "ui/station/AdvancedSettingsDialog.h"
#include "ui/station/GeneralSettingsDialog.h"

namespace rizorivu {
namespace {

using testing::HeadlessHost;
using ui::AdvancedSettingsDialog;
using ui::DialogCode;
using ui::GeneralSettingsDialog;
using ui::MainWindow;

constexpr int kGerman = 1;

// The running utility with the main window, the general settings and the advanced settings
// open above each other; the tray's texts go to a real tray icon.
struct ThreeWindowsOpen : testing::StationBed {
    ThreeWindowsOpen() : StationBed(testing::settingsWorld(), withDeviceIds()) {}

    static Configuration withDeviceIds() {
        Configuration c = productConfiguration();
        c.matchingDeviceIds = {"USB\\VID_F540&PID_0540"};
        return c;
    }

    // `inAdvanced` runs with all three open.
    void run(const std::function<void(MainWindow&, GeneralSettingsDialog&,
                                      AdvancedSettingsDialog&)>& inAdvanced) {
        MainWindow main(settings, configuration, environment, discovery, icon, switchWithTray);
        GeneralSettingsDialog* general = nullptr;
        host.script<GeneralSettingsDialog>(DialogCode::GeneralSettings,
                                           [&](GeneralSettingsDialog& g, HeadlessHost&) {
                                               general = &g;
                                               g.onAdvanced();
                                               g.end(ui::DialogResult::Closed);
                                           });
        host.script<AdvancedSettingsDialog>(DialogCode::AdvancedSettings,
                                            [&](AdvancedSettingsDialog& a, HeadlessHost&) {
                                                inAdvanced(main, *general, a);
                                                a.end(ui::DialogResult::Closed);
                                            });
        // The main window's information button opens the general settings while no clicked
        // network is shown.
        host.script<MainWindow>(DialogCode::Main, [&](MainWindow& m, HeadlessHost&) {
            m.onInfoButton();
            m.end(ui::DialogResult::Closed);
        });
        host.runModal(main);
        EXPECT_TRUE(host.errors().empty()) << host.errors().front();
    }

    testing::RecordingTrayService tray;
    CTrayIcon icon{tray,  "RIZorivu --- Wireless LAN Configuration Tool",
                   0,     CTrayIcon::kOpenUtilityWindow,
                   false, CTrayIcon::MainWindowLink{[](int) {}, [] {}}};
    AdapterDiscovery discovery{library, settings.adapter, bed.registry,
                               ansi,    bed.clock,        configuration.matchingDeviceIds};
    ui::LanguageSwitch switchWithTray{
        texts,
        chain,
        settings.appKey,
        {[this](std::string_view tip) { icon.setTooltip(tip); },
         [this](std::string_view open, std::string_view exit) { icon.setMenuTexts(open, exit); }}};
};

TEST(LanguageSwitch, EveryOpenWindowAndTheTrayChangeLanguage) {
    ThreeWindowsOpen s;
    s.run([&](MainWindow& main, GeneralSettingsDialog& general, AdvancedSettingsDialog& advanced) {
        EXPECT_EQ(general.title().text(), "More Setting...");
        general.networkTypeList.select(0);
        advanced.languageList.select(kGerman);
        advanced.onLanguageChosen();
        EXPECT_EQ(main.title().text(), "Nimbo K-540 Dienstprogramm  ");
        EXPECT_EQ(general.title().text(), "Einstellungen...");
        EXPECT_EQ(general.networkTypeList.items().at(1), "Infrastruktur");
        // Re-captioning keeps what the lists had selected.
        EXPECT_EQ(general.networkTypeList.selected(), 0);
        EXPECT_EQ(advanced.title().text(), "Erweiterte Einstellungen...");
        EXPECT_EQ(advanced.languageList.selected(), kGerman);
        EXPECT_EQ(advanced.languageList.items().at(0), "Englisch");
    });
    EXPECT_EQ(s.icon.tooltip(), "RIZorivu --- WLAN-Konfigurationsprogramm");
    EXPECT_EQ(s.icon.openText(), "Programmfenster öffnen");
    EXPECT_EQ(s.icon.exitText(), "RIZorivu beenden");
    EXPECT_EQ(s.settings.appKey.readDword("", "LanguageId"), 2);
    // The next start looks for the running window under this title.
    EXPECT_EQ(s.settings.appKey.readString("", "RIZorivuProgramTitle"),
              "Nimbo K-540 Dienstprogramm");
}

TEST(LanguageSwitch, RowsWithoutALanguageChangeNothing) {
    for (const int row : {-1, 3, 100}) {
        testing::StationBed s;
        s.languages.apply(row, DialogCode::AdvancedSettings);
        EXPECT_EQ(s.texts.current(), 1);
        EXPECT_FALSE(s.settings.appKey.readDword("", "LanguageId").has_value()) << row;
        EXPECT_EQ(s.trayTooltip, "");
    }
}

}  // namespace
}  // namespace rizorivu
