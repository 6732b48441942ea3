#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "adapter/AuthenticationMode.h"
#include "adapter/MacFilterMode.h"
#include "adapter/NetworkType.h"
#include "adapter/PowerSaveMode.h"
#include "adapter/PreambleMode.h"
#include "adapter/WepStatus.h"
#include "sim/World.h"

namespace rizorivu::sim {

// The limits of the driver's numeric settings; its codes are the enums of adapter/.
namespace setting {
constexpr int kMinFragmentation = 256;
constexpr int kMaxFragmentation = 2346;  // fragmentation off
constexpr int kMinRts = 0;
constexpr int kMaxRts = 2347;  // RTS/CTS off
constexpr int kMinChannel = 1;
constexpr int kMaxChannel = 14;
constexpr std::size_t kFilterEntries = 16;
}  // namespace setting

struct WepKey {
    std::uint8_t size = 0;  // 0 until written, then 5, 13 or 29
    std::array<std::uint8_t, 29> bytes{};

    bool matches(const std::vector<std::uint8_t>& key) const {
        return size == key.size() && std::equal(key.begin(), key.end(), bytes.begin());
    }
    friend bool operator==(const WepKey&, const WepKey&) = default;
};

// The settings the adapter keeps separately for station and access-point mode.
struct ModeSettings {
    std::string ssid;  // bytes, at most 32
    int channel = 6;
    AuthenticationMode authenticationMode = AuthenticationMode::Open;
    WepStatus wepStatus = WepStatus::Disabled;
    std::array<WepKey, 4> keys{};
    int transmitKey = 0;
    PreambleMode preambleMode = PreambleMode::Long;
    int fragmentationThreshold = setting::kMaxFragmentation;
    int rtsThreshold = setting::kMaxRts;
};

struct StationSettings {
    NetworkType networkType = NetworkType::Infrastructure;
    std::optional<MacAddress> bssid;  // the access point SetWL_BSSID chose
    PowerSaveMode powerSaveMode = PowerSaveMode::ContinuousAccess;
    RateBytes desiredRates{};
};

struct FilterEntry {
    bool inUse = false;
    MacAddress mac{};
    friend bool operator==(const FilterEntry&, const FilterEntry&) = default;
};

struct AccessPointSettings {
    int hideSsid = 0;
    int txPowerLevel = 0;
    int basicRate = 1;
    MacFilterMode filterMode = MacFilterMode::Off;
    std::array<FilterEntry, setting::kFilterEntries> filter{};
};

struct RadioSettings {
    int regionCode = 0x10;
    std::vector<std::uint8_t> channels;  // as last set; empty means none set
    int multiDomain = 0;
    int privateOidState = 0;
};

}  // namespace rizorivu::sim
