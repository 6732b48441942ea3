#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu::sim {

// The EAPOL frames between the station and the access point it is associated with: one
// bounded queue in each direction. The 802.1X supplicant talks through the station side and
// the access point's authenticator through the other. Receiving never blocks; a side that
// waits polls through its Clock. Thread-safe.
class EapolChannel {
public:
    enum class Side { Station, AccessPoint };

    static constexpr std::size_t kMaxFrameBytes = 2048;
    static constexpr std::size_t kQueueDepth = 16;

    // Queues a frame for the other side. False, dropping the frame, when it is empty, longer
    // than kMaxFrameBytes or the other side's queue is full (as a radio drops frames).
    bool send(Side from, std::span<const std::uint8_t> frame);
    // The oldest frame waiting for `at`, if any.
    std::optional<std::vector<std::uint8_t>> receive(Side at);
    std::size_t pending(Side at) const;
    // Forgets every frame in flight: a new association starts a new exchange.
    void clear();

private:
    std::deque<std::vector<std::uint8_t>>& queueFor(Side at);

    mutable std::mutex mutex_;
    std::deque<std::vector<std::uint8_t>> toStation_;
    std::deque<std::vector<std::uint8_t>> toAccessPoint_;
};

}  // namespace rizorivu::sim
