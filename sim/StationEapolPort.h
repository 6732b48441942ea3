#pragma once

#include <functional>
#include <memory>

#include "adapter/EapolPort.h"
#include "sim/EapolChannel.h"

namespace rizorivu::sim {

// The station's end of a simulated adapter's EAPOL channel, as the 802.1X library sees it.
// A frame sent is handed on at once through `onSent`, so that the access point answers
// without waiting for the next poll of the adapter.
class StationEapolPort final : public EapolPort {
public:
    explicit StationEapolPort(std::shared_ptr<EapolChannel> channel)
        : channel_(std::move(channel)) {}

    // Called after every frame the channel took, on the sender's thread, without locks held.
    void onSent(std::function<void()> deliver) { deliver_ = std::move(deliver); }
    // Called before every receive, likewise: the access point's relay picks up its RADIUS
    // server's answers while the supplicant polls for frames.
    void onPolled(std::function<void()> poll) { poll_ = std::move(poll); }

    bool sendEapol(std::span<const std::uint8_t> frame) override;
    std::optional<std::vector<std::uint8_t>> receiveEapol() override;

private:
    std::shared_ptr<EapolChannel> channel_;
    std::function<void()> deliver_;
    std::function<void()> poll_;
};

}  // namespace rizorivu::sim
