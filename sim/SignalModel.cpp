#include "sim/SignalModel.h"

#include <algorithm>

namespace rizorivu::sim {

namespace {

// The splitmix64 finaliser: every input bit moves every output bit.
std::uint64_t mix(std::uint64_t h) {
    h ^= h >> 30;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 27;
    h *= 0x94D049BB133111EBull;
    h ^= h >> 31;
    return h;
}

}  // namespace

int SignalModel::rssiDbm(const MacAddress& transmitter, int levelDbm, std::int64_t nowMs) const {
    std::uint64_t h = seed_;
    for (const std::uint8_t b : transmitter) {
        h = mix(h ^ b) + 0x9E3779B97F4A7C15ull;
    }
    const std::int64_t step =
        nowMs >= 0 ? nowMs / kJitterStepMs : -1 - (-1 - nowMs) / kJitterStepMs;
    h = mix(h ^ static_cast<std::uint64_t>(step));
    const int jitter = static_cast<int>(h % (2 * kJitterDb + 1)) - kJitterDb;
    return levelDbm + jitter;
}

int SignalModel::qualityPercent(int rssiDbm) {
    return std::clamp((rssiDbm + 95) * 100 / 55, 0, 100);
}

}  // namespace rizorivu::sim
