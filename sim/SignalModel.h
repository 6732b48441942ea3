#pragma once

#include <cstdint>

#include "sim/World.h"

namespace rizorivu::sim {

// How strongly a transmitter is heard at a moment: its configured level with a jitter that
// is a pure function of the world's seed, the transmitter and the time, so that runs repeat
// exactly and no call order matters.
class SignalModel {
public:
    static constexpr int kJitterDb = 3;                 // readings lie within ±3 dB
    static constexpr std::int64_t kJitterStepMs = 500;  // a new reading every half second
    static constexpr int kSensitivityDbm = -95;         // weaker networks are not heard

    explicit SignalModel(std::uint32_t seed) : seed_(seed) {}

    int rssiDbm(const MacAddress& transmitter, int levelDbm, std::int64_t nowMs) const;

    // Link quality in percent: 0 at -95 dBm or weaker, 100 at -40 dBm or stronger.
    static int qualityPercent(int rssiDbm);

private:
    std::uint32_t seed_;
};

}  // namespace rizorivu::sim
