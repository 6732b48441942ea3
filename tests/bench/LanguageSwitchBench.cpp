// A language switch with the main window, the general settings and the advanced settings open:
// the user picks a language and waits for every window and the tray to follow.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/ApplicationContext.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/HeadlessHost.h"
#include "tests/support/RecordingTrayService.h"
#include "tests/support/TestWorlds.h"
#include "ui/CTrayIcon.h"
#include "ui/main/MainWindow.h"
#include "ui/station/AdvancedSettingsDialog.h"
#include "ui/station/GeneralSettingsDialog.h"
#include "ui/station/LanguageSwitch.h"

namespace rizorivu {
namespace {

void BM_LanguageSwitchThreeWindowsOpen(benchmark::State& state) {
    testing::AdapterTestBed bed(testing::settingsWorld());
    PrivateProfile profile{bed.ansi};
    Configuration configuration;
    configuration.wpaMode = 1;
    configuration.matchingDeviceIds = {"USB\\VID_F540&PID_0540"};
    ApplicationContext context(ApplicationPaths::fromModulePath("/opt/rizorivu/rizorivu"),
                               configuration, bed.ansi, profile, bed.registry, *bed.library,
                               bed.clock, bed.wpa);
    if (!context.text.load(std::filesystem::path(RIZORIVU_PRODUCT_DIR) / "QVMLu.INI",
                           "LANGUAGES")) {
        state.SkipWithError("the product's language file is missing");
        return;
    }
    testing::HeadlessHost host;
    const ui::DialogEnvironment environment{host, context.chain, context.text};
    testing::RecordingTrayService tray;
    CTrayIcon icon(tray, "RIZorivu", 0, CTrayIcon::kOpenUtilityWindow, false, {});
    ui::LanguageSwitch languages(
        context.text, context.chain, context.settings.appKey,
        {[&icon](std::string_view tip) { icon.setTooltip(tip); },
         [&icon](std::string_view open, std::string_view exit) { icon.setMenuTexts(open, exit); }});
    AdapterDiscovery discovery(*bed.library, context.settings.adapter, bed.registry, bed.ansi,
                               bed.clock, configuration.matchingDeviceIds);
    ui::MainWindow main(context.settings, context.configuration, environment, discovery, icon);
    ui::GeneralSettingsDialog general(context.settings, context.configuration, environment,
                                      languages);

    host.script<ui::AdvancedSettingsDialog>(
        ui::DialogCode::AdvancedSettings,
        [&](ui::AdvancedSettingsDialog& advanced, testing::HeadlessHost&) {
            int row = 0;
            for (auto _ : state) {
                row = (row + 1) % context.text.count();
                advanced.languageList.select(row);
                advanced.onLanguageChosen();
            }
            advanced.end(ui::DialogResult::Closed);
        });
    host.script<ui::GeneralSettingsDialog>(
        ui::DialogCode::GeneralSettings, [&](ui::GeneralSettingsDialog& g, testing::HeadlessHost&) {
            g.onAdvanced();
            g.end(ui::DialogResult::Closed);
        });
    host.script<ui::MainWindow>(ui::DialogCode::Main,
                                [&](ui::MainWindow& m, testing::HeadlessHost& h) {
                                    general.setParentCode(ui::DialogCode::Main);
                                    h.runModal(general);
                                    context.chain.leave(general);
                                    m.end(ui::DialogResult::Closed);
                                });
    host.runModal(main);
}
BENCHMARK(BM_LanguageSwitchThreeWindowsOpen)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rizorivu
