// One EAP-TLS or PEAP authentication of the 802.1X library's supplicant, through the simulated
// access point's relay, against a running FreeRADIUS lab: what a station pays per
// authentication, the server's own time included. tools/enterprise-bench.sh starts the lab,
// runs these and the reference supplicant's test client against the same server.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "dot1x/SoftwareDot1xLibrary.h"
#include "platform/Clock.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/TestWorlds.h"

namespace {

using namespace rizorivu;

std::string environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

void authenticate(benchmark::State& state, bool peap) {
    const std::filesystem::path lab = environmentText("RIZORIVU_RADIUS_LAB");
    const std::string port = environmentText("RIZORIVU_RADIUS_PORT");
    const std::string secret = environmentText("RIZORIVU_RADIUS_SECRET");
    if (lab.empty() || port.empty() || secret.empty()) {
        state.SkipWithError("run through tools/enterprise-bench.sh, which starts the server");
        return;
    }
    testing::AdapterTestBed bed(
        testing::settingsWorld() +
        "[Network.Campus]\nSSID=Campus\nBSSID=02-10-00-00-00-04\nChannel=1\nSignal=-55\n"
        "Security=wpa-eap\nCipher=tkip\nRadius=127.0.0.1:" +
        port + "\nRadiusSecret=" + secret + "\n");
    if (!bed.open(testing::kK540)) {
        state.SkipWithError("the adapter does not open");
        return;
    }
    AdapterLibrary& lib = *bed.library;
    lib.SetWL_NetworkType(&bed.adapter, 1);
    lib.SetWL_AuthenticationMode(&bed.adapter, 3);
    lib.SetWL_WEPStatus(&bed.adapter, 4);
    lib.SetWL_SSID(&bed.adapter, reinterpret_cast<const std::uint8_t*>("Campus"), 6);
    bed.clock.advance(1500);

    // The supplicant waits for the server in real time, as the worker's library does.
    RealClock clock;
    dot1x::SoftwareDot1xLibrary dot1x(
        lib, clock, {bed.dir / "certificates", bed.dir / "system", bed.dir / "private"});
    const std::filesystem::path certs = lab / "certs";
    EapolConfig config;
    config.identity = "student";
    config.caCertificateFile = certs / "ca.pem";
    config.randomSeedFile = bed.dir / ".rand";
    if (peap) {
        config.method = "PEAP";
        config.password = "library-card";
        config.innerMethod = "MS-CHAPv2";
        config.innerIdentity = config.identity;
    } else {
        config.method = "TLS";
        config.clientCertificateFile = certs / "student.pem";
        config.privateKeyFile = certs / "student.key";
    }
    const std::array<std::uint8_t, 6> own{0x02, 0x00, 0x00, 0x00, 0x05, 0x40};
    const std::array<std::uint8_t, 6> bssid{0x02, 0x10, 0x00, 0x00, 0x00, 0x04};
    for (auto _ : state) {
        dot1x.do_eapol_init(&bed.adapter, 0, own, bssid, config);
        int steps = 0;
        while (dot1x.do_eapol_run() == 0 && ++steps < 62) {
        }
        dot1x.do_eapol_halt();
        if (steps >= 62) {
            state.SkipWithError("the server did not authenticate the station");
            return;
        }
    }
    dot1x.Shutdown_Dot1x_Module();
}

void BM_EapTlsAgainstFreeRadius(benchmark::State& state) {
    authenticate(state, false);
}
void BM_PeapAgainstFreeRadius(benchmark::State& state) {
    authenticate(state, true);
}
BENCHMARK(BM_EapTlsAgainstFreeRadius)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeapAgainstFreeRadius)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
