#pragma once

#include <cstdint>

namespace rizorivu::sim {

// Frames counted in thousandths, so that rates in frames per second add up exactly over
// intervals of any number of milliseconds.
struct FrameTally {
    std::uint64_t transmittedMilli = 0;
    std::uint64_t receivedMilli = 0;

    void add(std::int64_t ms, int txPerSecond, int rxPerSecond) {
        if (ms > 0) {
            transmittedMilli +=
                static_cast<std::uint64_t>(ms) * static_cast<std::uint64_t>(txPerSecond);
            receivedMilli +=
                static_cast<std::uint64_t>(ms) * static_cast<std::uint64_t>(rxPerSecond);
        }
    }
    // The counters as the driver reports them: 32 bits, wrapping.
    std::uint32_t transmitted() const {
        return static_cast<std::uint32_t>(transmittedMilli / 1000);
    }
    std::uint32_t received() const { return static_cast<std::uint32_t>(receivedMilli / 1000); }
};

}  // namespace rizorivu::sim
