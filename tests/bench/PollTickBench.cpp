// One status tick of the main window on the simulated adapter: the idle utility does this
// once a second, so it must cost no noticeable CPU.

#include <benchmark/benchmark.h>

#include "tests/support/SimulatedUtility.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu {
namespace {

void tickInView(benchmark::State& state, bool accessPoint) {
    Configuration configuration = testing::SimulatedUtility::simulatorConfiguration();
    configuration.enableAccessPoint = 1;
    testing::SimulatedUtility utility(testing::settingsWorld(), configuration);
    utility.session.settings.last.writeLastSetting(OperatingMode::kStation, "SSID", "Home");

    utility.run([&](ui::MainWindow& w) {
        const auto tick = [&] {
            utility.bed.clock.advance(1000);
            w.pollTick(ui::MainWindow::kPollTimer);
        };
        for (int i = 0; i < 8; ++i) {  // the opening scan is in and the station has joined
            tick();
        }
        if (accessPoint) {
            w.modeSelector.select(ui::MainWindow::kModeAccessPoint);
            w.onModeSelected();
        } else if (w.linkStatusValue.text() != "Connected to Access Point.") {
            state.SkipWithError("the station did not join its network");
        }
        for (auto _ : state) {
            tick();
        }
    });
}

void BM_PollTickStationConnected(benchmark::State& state) {
    tickInView(state, false);
}
BENCHMARK(BM_PollTickStationConnected);

void BM_PollTickAccessPoint(benchmark::State& state) {
    tickInView(state, true);
}
BENCHMARK(BM_PollTickAccessPoint);

}  // namespace
}  // namespace rizorivu
