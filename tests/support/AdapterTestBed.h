#pragma once

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <variant>

#include "adapter/AdapterLibrary.h"
#include "dot1x/SoftwareDot1xLibrary.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Environment.h"
#include "platform/RegistryStore.h"
#include "settings/ApplicationKey.h"
#include "settings/LastSettings.h"
#include "settings/LastSettingsReplay.h"
#include "settings/OperatingMode.h"
#include "settings/SettingApplier.h"
#include "settings/WpaConnection.h"
#include "sim/SimulatedAdapterFactory.h"
#include "tests/support/TempDir.h"

namespace rizorivu::testing {

// Counts the WPA connections started and stopped.
struct RecordingWpaConnection final : WpaConnection {
    int starts = 0;
    int stops = 0;
    void startWpaConnection() override { ++starts; }
    void stopWpaConnection() override { ++stops; }
};

// The utility's settings layer on the simulated adapter in a world of the test's own, with a
// virtual clock and a registry in a temporary folder. The world file can be edited while the
// library runs.
class AdapterTestBed {
public:
    // `codePage` is the machine's ANSI code page, for the simulator and the settings alike.
    explicit AdapterTestBed(const std::string& worldText,
                            std::string_view codePage = CodePage::kDefaultName)
        : worldFile(dir.write("world.ini", worldText)),
          library(makeLibrary(codePage)),
          ansi(codePage) {}

    // Opens the adapter of that name into the record; false when the library refused.
    bool open(std::string_view name) {
        copyField(adapter.name, name);
        return library->QvOpenAdapter(&adapter) != 0;
    }

    // Rewrites the world file and lets enough time pass for the library to notice.
    void editWorld(const std::string& text) {
        dir.write("world.ini", text);
        clock.advance(1000);
    }

    std::string station(std::string_view name) const {
        return last.lastSettingText(OperatingMode::kStation, name);
    }
    std::string accessPoint(std::string_view name) const {
        return last.lastSettingText(OperatingMode::kAccessPoint, name);
    }

private:
    std::unique_ptr<AdapterLibrary> makeLibrary(std::string_view codePage) {
        FixedEnvironment env{{"RIZORIVU_WORLD", worldFile.string()},
                             {CodePage::kEnvironmentVariable, std::string(codePage)}};
        auto made = makeSimulatedAdapterLibrary(env, clock, registry, diagnostics);
        if (!made.ok()) {
            throw std::runtime_error("the test world does not load: " + made.error());
        }
        return std::move(made).value();
    }

public:
    TempDir dir;
    std::filesystem::path worldFile;
    VirtualClock clock{50'000};
    std::ostringstream diagnostics;
    RegistryStore registry{HiveLocations::inDirectory(dir.path()), diagnostics};
    std::unique_ptr<AdapterLibrary> library;
    AdapterRecord adapter;
    CodePage ansi{CodePage::kDefaultName};
    ApplicationKey appKey{registry, "Halvo", "rizorivu"};
    OperatingMode mode;
    LastSettings last{appKey, mode, ansi};
    RecordingWpaConnection wpa;
    // Certificate folders of the test's own, never the machine's trust store.
    dot1x::SoftwareDot1xLibrary dot1x{
        *library, clock, {dir / "certificates", dir / "system-certificates", dir / "private"}};
    SettingApplier applier{*library, adapter, last, clock, wpa};
    LastSettingsReplay replay{*library, adapter, last, applier, wpa};
};

}  // namespace rizorivu::testing
