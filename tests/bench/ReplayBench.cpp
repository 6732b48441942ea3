// A full replay of the last settings into the simulated adapter, as at every adapter open and
// mode switch. Each replay writes every accepted value back, so the registry's durable
// writes dominate.

#include <benchmark/benchmark.h>

#include "tests/support/AdapterTestBed.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu {
namespace {

void replayInMode(benchmark::State& state, int mode) {
    testing::AdapterTestBed bed(testing::settingsWorld());
    if (!bed.open(testing::kK540) ||
        bed.library->SetWL_OperationMode_STA_AP(&bed.adapter, mode) != 0) {
        state.SkipWithError("the adapter does not open");
        return;
    }
    bed.mode.set(mode);
    for (auto _ : state) {
        benchmark::DoNotOptimize(bed.replay.replayLastSettings());
    }
}

void BM_ReplayLastSettingsStation(benchmark::State& state) {
    replayInMode(state, OperatingMode::kStation);
}
BENCHMARK(BM_ReplayLastSettingsStation)->Unit(benchmark::kMillisecond);

void BM_ReplayLastSettingsAccessPoint(benchmark::State& state) {
    replayInMode(state, OperatingMode::kAccessPoint);
}
BENCHMARK(BM_ReplayLastSettingsAccessPoint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rizorivu
