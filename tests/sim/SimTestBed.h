#pragma once

#include <cstdint>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/RegistryStore.h"
#include "sim/SimulatedAdapterLibrary.h"
#include "sim/StationLink.h"
#include "sim/WorldSource.h"
#include "tests/support/TempDir.h"

namespace rizorivu::sim::testing {

// One wireless adapter and the networks the tests associate with: every security kind,
// two cells, a hidden network, two access points of one SSID, one on channel 13 (outside the
// default region) and one too faint to hear.
constexpr std::string_view kMachineSection = "[Machine]\nSeed=7\n";
constexpr std::string_view kAdapterName = "\\DEVICE\\SIM0";
constexpr std::string_view kAdapterSection =
    "[Adapter.Sim]\n"
    "Name=\\DEVICE\\SIM0\n"
    "Description=Simulated test adapter\n"
    "ClassInstance=0003\n"
    "DeviceId=USB\\VID_F540&PID_0540\n"
    "Mac=02-00-00-00-00-01\n";
constexpr std::string_view kNetworkSections =
    "[Network.Open]\nSSID=Open\nBSSID=02-10-00-00-00-01\nChannel=1\nSignal=-50\n"
    "[Network.Wep64]\nSSID=Wep64\nBSSID=02-10-00-00-00-02\nChannel=2\nSignal=-55\n"
    "Security=wep\nWepKey=01 02 03 04 05\nRates=1* 2* 5.5* 11*\n"
    "[Network.WepShared]\nSSID=WepShared\nBSSID=02-10-00-00-00-03\nChannel=3\nSignal=-60\n"
    "Security=wep\nWepKey=11 12 13 14 15 16 17 18 19 1A 1B 1C 1D\nWepAuth=shared\n"
    "[Network.PskTkip]\nSSID=PskTkip\nBSSID=02-10-00-00-00-04\nChannel=4\nSignal=-58\n"
    "Security=wpa-psk\nCipher=tkip\nPassphrase=correct horse\n"
    "[Network.PskAes]\nSSID=PskAes\nBSSID=02-10-00-00-00-05\nChannel=5\nSignal=-62\n"
    "Security=wpa-psk\nCipher=aes\nPassphrase=battery staple\n"
    "[Network.Eap]\nSSID=Eap\nBSSID=02-10-00-00-00-06\nChannel=6\nSignal=-64\n"
    "Security=wpa-eap\nCipher=aes\n"
    "[Network.Cell]\nSSID=Cell\nBSSID=02-10-00-00-00-07\nChannel=7\nSignal=-70\nType=adhoc\n"
    "[Network.CellPsk]\nSSID=CellPsk\nBSSID=02-10-00-00-00-08\nChannel=8\nSignal=-71\n"
    "Type=adhoc\nSecurity=wpa-psk\nCipher=tkip\nPassphrase=cell phrase\n"
    "[Network.Hidden]\nSSID=Hidden\nBSSID=02-10-00-00-00-09\nChannel=9\nSignal=-66\nHidden=1\n"
    "[Network.TwinFar]\nSSID=Twin\nBSSID=02-10-00-00-00-0A\nChannel=10\nSignal=-70\n"
    "[Network.TwinNear]\nSSID=Twin\nBSSID=02-10-00-00-00-0B\nChannel=11\nSignal=-45\n"
    "[Network.Europe]\nSSID=Europe\nBSSID=02-10-00-00-00-0C\nChannel=13\nSignal=-60\n"
    "[Network.Faint]\nSSID=Faint\nBSSID=02-10-00-00-00-0D\nChannel=1\nSignal=-97\n";
constexpr std::string_view kClientSections =
    "[Client.A]\nMac=02-C0-00-00-00-0A\n"
    "[Client.B]\nMac=02-C0-00-00-00-0B\n"
    "[Client.C]\nMac=02-C0-00-00-00-0C\nSSID=Lab AP\n";

inline std::string testWorld() {
    return std::string(kMachineSection) + std::string(kAdapterSection) +
           std::string(kNetworkSections) + std::string(kClientSections);
}

inline std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// A simulated adapter library on a world file in a temporary folder, with a virtual clock
// and a registry of its own.
class SimTestBed {
public:
    explicit SimTestBed(const std::string& worldText = testWorld()) {
        worldFile = dir.write("world.ini", worldText);
        auto loaded = WorldSource::fromFile(worldFile, CodePage(), clock.nowMs());
        if (!loaded.ok()) {
            throw std::runtime_error("test world does not load: " + loaded.error());
        }
        library = std::make_unique<SimulatedAdapterLibrary>(std::move(loaded).value(), clock,
                                                            registry, diagnostics);
    }

    SimulatedAdapterLibrary& lib() { return *library; }

    // Opens the adapter named `name` into `record`; false when the library refused.
    bool open(std::string_view name = kAdapterName) {
        copyField(record.name, name);
        return library->QvOpenAdapter(&record) != 0;
    }

    // Replaces the world file and lets the library's next call see it.
    void editWorld(const std::string& text) {
        dir.write("world.ini", text);
        clock.advance(WorldSource::kCheckIntervalMs);
    }

    void settle() { clock.advance(StationLink::kAssociationDelayMs); }

    int setSsid(std::string_view ssid) {
        const auto bytes = bytesOf(ssid);
        return library->SetWL_SSID(&record, bytes.data(), static_cast<int>(bytes.size()));
    }

    // Station settings for one network, in the order the utility's connect flow writes them.
    void configure(std::string_view ssid, int networkType, int authentication, int encryption) {
        library->SetWL_NetworkType(&record, networkType);
        library->SetWL_AuthenticationMode(&record, authentication);
        library->SetWL_WEPStatus(&record, encryption);
        setSsid(ssid);
    }

    int writeKey(int index, const std::vector<std::uint8_t>& key, bool transmit) {
        const int code = key.size() == 5 ? 0 : key.size() == 13 ? 1 : 2;
        return library->SetWL_WriteKey(&record, index, code, transmit ? 1 : 0, key.data());
    }

    int connectState() { return library->QueryWL_ConnectState(&record); }

    std::vector<std::uint8_t> bssid() {
        std::vector<std::uint8_t> out(6, 0);
        if (library->QueryWL_BSSID(&record, std::span<std::uint8_t, 6>(out.data(), 6)) != 0) {
            out.clear();
        }
        return out;
    }

    FrameCounts counts() {
        FrameCounts c;
        library->GetTxRxFrameCount(&record, &c);
        return c;
    }

    rizorivu::testing::TempDir dir;
    VirtualClock clock{10'000};
    std::ostringstream diagnostics;
    RegistryStore registry{HiveLocations::inDirectory(dir.path()), diagnostics};
    std::filesystem::path worldFile;
    std::unique_ptr<SimulatedAdapterLibrary> library;
    AdapterRecord record;
};

inline std::vector<std::uint8_t> mac(std::initializer_list<int> bytes) {
    std::vector<std::uint8_t> out;
    for (const int b : bytes) {
        out.push_back(static_cast<std::uint8_t>(b));
    }
    return out;
}

}  // namespace rizorivu::sim::testing
