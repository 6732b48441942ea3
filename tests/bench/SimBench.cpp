// Cost of one site-survey retrieval, as the poll tick and the WPA worker pay it: the
// simulated adapter builds the BSSID list of a world of twenty networks with their
// information elements.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/RegistryStore.h"
#include "sim/SimulatedAdapterLibrary.h"
#include "sim/WorldSource.h"
#include "tests/support/TempDir.h"

namespace {

using rizorivu::AdapterRecord;

std::string twentyNetworkWorld() {
    std::string world =
        "[Adapter.Sim]\nName=SIM0\nDescription=Bench adapter\nClassInstance=0003\n"
        "DeviceId=USB\\VID_F540&PID_0540\nMac=02-00-00-00-00-01\nRegion=0x40\n";
    const char* securities[] = {"open", "wep", "wpa-psk", "wpa-eap"};
    for (int i = 0; i < 20; ++i) {
        const std::string n = std::to_string(i);
        char bssid[32];
        std::snprintf(bssid, sizeof bssid, "02-10-00-00-00-%02X", i + 1);
        const std::string security = securities[i % 4];
        world += "[Network." + n + "]\nSSID=Network " + n + "\nBSSID=" + bssid +
                 "\nChannel=" + std::to_string(i % 14 + 1) +
                 "\nSignal=" + std::to_string(-40 - 2 * i) + "\nSecurity=" + security + "\n";
        if (security == "wep") {
            world += "WepKey=01 02 03 04 05 06 07 08 09 0A 0B 0C 0D\n";
        } else if (security == "wpa-psk") {
            world += "Cipher=tkip\nPassphrase=bench passphrase\n";
        } else if (security == "wpa-eap") {
            world += "Cipher=aes\n";
        }
    }
    return world;
}

void BM_SimRetrieveSiteSurvey20(benchmark::State& state) {
    rizorivu::testing::TempDir dir;
    rizorivu::VirtualClock clock;
    std::ostringstream diagnostics;
    rizorivu::RegistryStore registry(rizorivu::HiveLocations::inDirectory(dir.path()), diagnostics);
    auto loaded = rizorivu::sim::WorldSource::fromFile(dir.write("world.ini", twentyNetworkWorld()),
                                                       rizorivu::CodePage(), clock.nowMs());
    if (!loaded.ok()) {
        state.SkipWithError(loaded.error().c_str());
        return;
    }
    rizorivu::sim::SimulatedAdapterLibrary library(std::move(loaded).value(), clock, registry,
                                                   diagnostics);
    AdapterRecord record;
    rizorivu::copyField(record.name, "SIM0");
    if (library.QvOpenAdapter(&record) == 0) {
        state.SkipWithError("the adapter does not open");
        return;
    }
    std::vector<std::uint8_t> buffer(rizorivu::adapterbuf::kSurveyBytes);
    for (auto _ : state) {
        const int result = library.WL_RetrieveSiteSurveyData(&record, buffer.data(),
                                                             static_cast<int>(buffer.size()));
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(buffer.data());
    }
    if (buffer[0] != 20) {
        state.SkipWithError("the survey did not list twenty networks");
    }
}
BENCHMARK(BM_SimRetrieveSiteSurvey20);

}  // namespace
