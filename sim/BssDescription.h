#pragma once

#include <cstdint>
#include <string>

#include "sim/World.h"

namespace rizorivu::sim {

// One network as a scan reports it: what its beacons say and how strongly they arrived.
struct BssDescription {
    MacAddress bssid{};
    std::string ssid;  // as the beacon carries it: empty for a hidden network
    int rssiDbm = 0;
    int channel = 1;
    BssType type = BssType::Infrastructure;
    Security security = Security::Open;
    WpaVersions wpaVersions = WpaVersions::Wpa;
    Cipher cipher = Cipher::None;
    GroupCipher groupCipher = GroupCipher::SameAsPairwise;
    RateBytes rates{};
    std::uint64_t timestampUs = 0;
    std::uint16_t beaconIntervalTu = 100;
};

}  // namespace rizorivu::sim
