#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <thread>

#include "settings/HexText.h"
#include "settings/SettingNames.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/TestWorlds.h"
#include "tests/wpa/ScriptedDot1xLibrary.h"
#include "tests/wpa/WatchedLibrary.h"
#include "wpa/WpaWorker.h"

namespace rizorivu::testing {

// The WPA worker on the simulated adapter of the settings world, with a scripted 802.1X
// library. The worker runs on `workerClock`: by default a virtual clock of its own, so that
// its 30-second waits take no time and yet do not move the world on (the simulated access
// point would give up on a station whose scripted library never answers its handshake), or
// a real one where a test measures how fast it stops.
class WpaWorkerBed {
public:
    static constexpr int kInfrastructure = 1;
    static constexpr int kWpaPsk = 4;
    static constexpr int kAes = 6;

    explicit WpaWorkerBed(Clock* workerClock = nullptr, std::string_view codePage = "WINDOWS-1252",
                          const std::string& world = settingsWorld())
        : bed(world, codePage),
          watched(*bed.library),
          worker(watched, workerClock != nullptr ? *workerClock : ownClock, bed.ansi, dot1x,
                 bed.dir.path()) {
        if (!bed.open(kK540)) {
            throw std::runtime_error("the adapter does not open");
        }
        worker.attach(bed.adapter, bed.last);
        // The service controls the adapter, so a start stops it; tests of the rule change it.
        watched.forcedWzcStatus = 0;
    }

    // Joins the WPA-PSK network as the connect flow does, recording every setting.
    void joinPsk() { join("Psk", kWpaPsk, kAes, "correct horse"); }

    void join(std::string_view ssid, int authenticationMode, int encryption,
              std::string_view passphrase) {
        bed.applier.applySsidText(ssid);
        bed.applier.applyNetworkType(kInfrastructure);
        bed.applier.applyAuthenticationMode(authenticationMode);
        bed.applier.applyWepStatus(encryption);
        store(settingname::kDot1xPassphrase, passphrase);
        bed.clock.advance(2000);
    }

    void store(std::string_view name, std::string_view text) {
        bed.last.writeLastSetting(OperatingMode::kStation, name, text);
    }
    std::string stored(std::string_view name) const { return bed.station(name); }

    // Waits (real time, at most 5 s) until the worker's thread has ended on its own.
    bool waitForWorkerEnd() {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!worker.workerEnded()) {
            if (std::chrono::steady_clock::now() > until) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    AdapterTestBed bed;
    VirtualClock ownClock;
    WatchedLibrary watched;
    ScriptedDot1xLibrary dot1x;
    wpa::WpaWorker worker;
};

}  // namespace rizorivu::testing
