#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu {

// The EAPOL frames of one open adapter: what the 802.1X supplicant sends to and receives from
// the access point the adapter is associated with. A frame is the 802.1X header (version,
// packet type, body length) and its body. The simulated adapter answers through its
// authenticators; on real hardware this is a packet socket bound to the EAPOL ethertype.
// Used from the WPA worker while the interface thread polls the adapter; thread-safe.
class EapolPort {
public:
    static constexpr std::size_t kMaxFrameBytes = 2048;

    virtual ~EapolPort() = default;

    // Sends one frame to the access point. False when it was dropped: empty, longer than
    // kMaxFrameBytes, or no access point to send it to.
    virtual bool sendEapol(std::span<const std::uint8_t> frame) = 0;
    // The oldest frame received and not yet taken, if any. Never blocks: a caller that
    // waits for a frame polls through its Clock.
    virtual std::optional<std::vector<std::uint8_t>> receiveEapol() = 0;
};

}  // namespace rizorivu
