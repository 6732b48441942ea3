#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/World.h"

namespace rizorivu::sim {

// The values of the driver's settings, as the utility passes them.
namespace setting {
constexpr int kAdHoc = 0;
constexpr int kInfrastructure = 1;
constexpr int kAutoUnknown = 2;
constexpr int kPseudoIbss = 3;

constexpr int kAuthOpen = 0;
constexpr int kAuthShared = 1;
constexpr int kAuthAutoSwitch = 2;
constexpr int kAuthWpa = 3;
constexpr int kAuthWpaPsk = 4;
constexpr int kAuthWpaNone = 5;

constexpr int kWepEnabled = 0;
constexpr int kWepDisabled = 1;
constexpr int kTkipEnabled = 4;
constexpr int kAesEnabled = 6;

constexpr int kStation = 0;
constexpr int kAccessPoint = 1;

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
    int authenticationMode = setting::kAuthOpen;
    int wepStatus = setting::kWepDisabled;
    std::array<WepKey, 4> keys{};
    int transmitKey = 0;
    int preambleMode = 0;
    int fragmentationThreshold = setting::kMaxFragmentation;
    int rtsThreshold = setting::kMaxRts;
};

struct StationSettings {
    int networkType = setting::kInfrastructure;
    std::optional<MacAddress> bssid;  // the access point SetWL_BSSID chose
    int powerSaveMode = 0;
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
    int filterMode = 0;  // 0 off, 1 admit only listed stations, 2 refuse listed stations
    std::array<FilterEntry, setting::kFilterEntries> filter{};
};

struct RadioSettings {
    int regionCode = 0x10;
    std::vector<std::uint8_t> channels;  // as last set; empty means none set
    int multiDomain = 0;
    int privateOidState = 0;
};

}  // namespace rizorivu::sim
