#pragma once

#include <memory>

#include "adapter/EapolPort.h"
#include "sim/EapolChannel.h"

namespace rizorivu::sim {

// The station's end of a simulated adapter's EAPOL channel, as the 802.1X library sees it.
class StationEapolPort final : public EapolPort {
public:
    explicit StationEapolPort(std::shared_ptr<EapolChannel> channel)
        : channel_(std::move(channel)) {}

    bool sendEapol(std::span<const std::uint8_t> frame) override;
    std::optional<std::vector<std::uint8_t>> receiveEapol() override;

private:
    std::shared_ptr<EapolChannel> channel_;
};

}  // namespace rizorivu::sim
