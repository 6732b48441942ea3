// A language switch with the main window, the general settings and the advanced settings open:
// the user picks a language and waits for every window and the tray to follow.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "tests/support/SimulatedUtility.h"
#include "tests/support/TestWorlds.h"
#include "ui/station/AdvancedSettingsDialog.h"
#include "ui/station/GeneralSettingsDialog.h"

namespace rizorivu {
namespace {

void BM_LanguageSwitchThreeWindowsOpen(benchmark::State& state) {
    Configuration configuration = testing::SimulatedUtility::simulatorConfiguration();
    configuration.wpaMode = 1;
    testing::SimulatedUtility u(testing::settingsWorld(), configuration);
    if (!u.session.text.load(std::filesystem::path(RIZORIVU_PRODUCT_DIR) / "QVMLu.INI",
                             "LANGUAGES")) {
        state.SkipWithError("the product's language file is missing");
        return;
    }
    u.host.script<ui::AdvancedSettingsDialog>(
        ui::DialogCode::AdvancedSettings,
        [&](ui::AdvancedSettingsDialog& advanced, testing::HeadlessHost&) {
            int row = 0;
            for (auto _ : state) {
                row = (row + 1) % u.session.text.count();
                advanced.languageList.select(row);
                advanced.onLanguageChosen();
            }
            advanced.end(ui::DialogResult::Closed);
        });
    u.host.script<ui::GeneralSettingsDialog>(
        ui::DialogCode::GeneralSettings, [&](ui::GeneralSettingsDialog& g, testing::HeadlessHost&) {
            g.onAdvanced();
            g.end(ui::DialogResult::Closed);
        });
    u.run([&](ui::MainWindow& main) { main.onInfoButton(); });
}
BENCHMARK(BM_LanguageSwitchThreeWindowsOpen)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rizorivu
