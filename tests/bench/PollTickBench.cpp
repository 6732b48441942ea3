// One status tick of the main window on the simulated adapter: the idle utility does this
// once a second, so it must cost no noticeable CPU.

#include <benchmark/benchmark.h>

#include "app/ApplicationContext.h"
#include "ui/CTrayIcon.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/HeadlessHost.h"
#include "tests/support/RecordingTrayService.h"
#include "tests/support/TestWorlds.h"
#include "ui/main/MainWindow.h"

namespace rizorivu {
namespace {

void tickInView(benchmark::State& state, bool accessPoint) {
    testing::AdapterTestBed bed(testing::settingsWorld());
    PrivateProfile profile{bed.ansi};
    Configuration configuration;
    configuration.enableAccessPoint = 1;
    configuration.matchingDeviceIds = {"USB\\VID_F540&PID_0540"};
    ApplicationContext context(ApplicationPaths::fromModulePath("/opt/rizorivu/rizorivu"),
                               configuration, bed.ansi, profile, bed.registry, *bed.library,
                               bed.clock, bed.wpa);
    testing::HeadlessHost host;
    const ui::DialogEnvironment environment{host, context.chain, context.text};
    testing::RecordingTrayService tray;
    CTrayIcon icon(
        tray, "RIZorivu", 0, CTrayIcon::kOpenUtilityWindow, false,
        {[&host](int command) { host.postCommand(command); }, [&host] { host.raiseMainWindow(); }});
    AdapterDiscovery discovery(*bed.library, context.settings.adapter, bed.registry, bed.ansi, bed.clock,
                               configuration.matchingDeviceIds);
    context.settings.last.writeLastSetting(OperatingMode::kStation, "SSID", "Home");
    ui::MainWindow window(context.settings, context.configuration, environment, discovery, icon);

    host.script<ui::MainWindow>(
        ui::DialogCode::Main, [&](ui::MainWindow& w, testing::HeadlessHost&) {
            const auto tick = [&] {
                bed.clock.advance(1000);
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
            w.end(ui::DialogResult::Closed);
        });
    host.runModal(window);
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
