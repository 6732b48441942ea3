#pragma once

#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "adapter/EapolPort.h"

namespace rizorivu::testing {

// The two ends of an EAPOL link in one thread: the supplicant uses the port, the test's
// authenticator the `toStation` / `toAccessPoint` queues.
class LoopbackEapol final : public EapolPort {
public:
    std::deque<std::vector<std::uint8_t>> toStation;
    std::deque<std::vector<std::uint8_t>> toAccessPoint;

    bool sendEapol(std::span<const std::uint8_t> frame) override {
        if (frame.empty() || frame.size() > kMaxFrameBytes) {
            return false;
        }
        toAccessPoint.emplace_back(frame.begin(), frame.end());
        return true;
    }
    std::optional<std::vector<std::uint8_t>> receiveEapol() override {
        if (toStation.empty()) {
            return std::nullopt;
        }
        auto frame = std::move(toStation.front());
        toStation.pop_front();
        return frame;
    }
};

}  // namespace rizorivu::testing
