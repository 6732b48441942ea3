#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "adapter/EapolConfig.h"
#include "adapter/EapolPort.h"
#include "crypto/MsChapV2.h"
#include "crypto/NonceSource.h"
#include "dot1x/EapMethod.h"
#include "platform/Clock.h"

namespace rizorivu::dot1x {

// The peer side of one EAP exchange over an adapter's EAPOL port (RFC 3748, IEEE 802.1X):
// EAPOL-Start, the identity, a NAK to methods other than the configured one, the method, and
// the server's verdict. An EAP-Success counts only after the method ran to its end, so a
// forged success early in the exchange authenticates nothing. Frames are untrusted: what
// does not parse or does not fit the exchange is dropped.
class EapSupplicant {
public:
    // Each step waits this long for frames. The worker gives up after 62 steps, which leaves
    // a RADIUS server 12.4 s to decide; a stop of the worker waits for one step at most.
    static constexpr std::int64_t kStepWaitMs = 200;
    static constexpr std::int64_t kPollMs = 2;
    // An access point that missed the EAPOL-Start is asked again, a few times.
    static constexpr std::int64_t kStartRepeatMs = 3000;
    static constexpr int kMaxStarts = 3;
    // The fragment size is cut to what one EAPOL frame carries (headers: 4 + 5 + 1 + 4).
    static constexpr std::size_t kMinFragmentBytes = 64;
    static constexpr std::size_t kMaxFragmentBytes = EapolPort::kMaxFrameBytes - 14;

    enum class State { Connecting, Authenticating, Authenticated, Failed };

    // `msChapV2` is needed for PEAP only; it, the port, clock and nonces outlive this object.
    EapSupplicant(EapolPort& port, Clock& clock, const EapolConfig& config,
                  crypto::NonceSource& nonces, const crypto::MsChapV2* msChapV2);
    ~EapSupplicant();
    EapSupplicant(const EapSupplicant&) = delete;
    EapSupplicant& operator=(const EapSupplicant&) = delete;

    // Sends EAPOL-Start.
    void start();
    // Waits up to kStepWaitMs for frames and answers them; true once authenticated.
    bool step();
    // Handles one frame as received from the access point.
    void handleFrame(std::span<const std::uint8_t> frame);

    State state() const { return state_; }
    int droppedFrames() const { return dropped_; }
    // The 32-byte master key (the first half of the master session key) once authenticated.
    bool masterKey(std::span<std::uint8_t, 32> key) const;

private:
    void handleRequest(std::uint8_t id, std::uint8_t type, std::span<const std::uint8_t> data);
    void handleSuccess();
    std::unique_ptr<EapMethod> makeMethod() const;
    void respond(std::uint8_t id, std::uint8_t type, std::span<const std::uint8_t> data);
    void drop() { ++dropped_; }

    EapolPort& port_;
    Clock& clock_;
    EapolConfig config_;
    crypto::NonceSource& nonces_;
    const crypto::MsChapV2* msChapV2_;
    std::uint8_t methodType_ = 0;
    std::size_t fragmentSize_;

    State state_ = State::Connecting;
    std::unique_ptr<EapMethod> method_;
    std::optional<std::uint8_t> lastId_;
    std::vector<std::uint8_t> lastFrame_;
    int starts_ = 0;
    std::int64_t lastStartMs_ = 0;
    int dropped_ = 0;
    std::array<std::uint8_t, 64> sessionKey_{};
};

}  // namespace rizorivu::dot1x
