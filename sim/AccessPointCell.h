#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sim/AdapterSettings.h"
#include "sim/FrameTally.h"
#include "sim/World.h"

namespace rizorivu::sim {

// The adapter's own access point: which of the world's stations are associated with it and
// the frames they exchange.
class AccessPointCell {
public:
    // Stations (re)join this long after the access point was reconfigured.
    static constexpr std::int64_t kJoinDelayMs = 1500;
    static constexpr int kTxFramesPerStation = 15;  // per second
    static constexpr int kRxFramesPerStation = 10;

    // The stations that associate with an access point of these settings, in world order, at
    // most 16 (the association table's size). Nobody joins while the SSID is empty or the
    // channel is not one the adapter may use. A station that names an SSID joins only that
    // SSID; one that names none joins any access point that broadcasts its SSID. Filter
    // mode 0 admits everybody, 1 only the addresses of used filter entries, 2 everybody
    // else. A station that is not present, or that listens on another channel, never joins.
    static std::vector<MacAddress> admitted(const World& world, const ModeSettings& settings,
                                            const AccessPointSettings& ap,
                                            std::span<const std::uint8_t> channels);

    // The access point restarts with new settings: everybody leaves and joins again later.
    void restart(std::int64_t nowMs);
    // Who is (or, during the join delay, will be) associated.
    void follow(std::vector<MacAddress> stations) { stations_ = std::move(stations); }
    void advance(std::int64_t nowMs, FrameTally& tally);

    bool settled(std::int64_t nowMs) const { return nowMs >= joinAtMs_; }
    // The associated stations at `nowMs`.
    std::span<const MacAddress> stations(std::int64_t nowMs) const;

private:
    std::vector<MacAddress> stations_;
    std::int64_t joinAtMs_ = 0;
    std::int64_t lastAdvanceMs_ = 0;
    bool advanced_ = false;
};

}  // namespace rizorivu::sim
