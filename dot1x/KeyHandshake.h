#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "adapter/EapolKeyFrame.h"
#include "adapter/EapolPort.h"
#include "adapter/KeyNegotiationContext.h"
#include "crypto/KeyHierarchy.h"
#include "crypto/NonceSource.h"
#include "crypto/Rc4Cipher.h"
#include "platform/Clock.h"

namespace rizorivu::dot1x {

// The supplicant's side of the WPA key handshakes over one adapter's EAPOL port: the 4-way
// handshake that installs the pairwise key and the group-key handshake that installs (and
// later renews) the group key. With a WPA element they speak WPA's descriptor (254), where the
// group key follows in its own handshake; with an RSN element the 802.11i descriptor (2) of
// WPA2, where message 3 already carries the group key in its encrypted key data. WPA-None has
// no handshake: its key is the master key itself, installed by begin(). Frames from the network
// are untrusted; every check that fails drops the frame and nothing is installed from it.
class KeyHandshake {
public:
    enum class State { Idle, AwaitingMessage1, AwaitingMessage3, AwaitingGroupKey, Complete };

    // Each step waits this long for a frame, sleeping through the Clock between polls. A stop
    // of the WPA worker waits for the running step, so this bounds how long a stop takes.
    static constexpr std::int64_t kStepWaitMs = 40;
    static constexpr std::int64_t kPollMs = 5;

    KeyHandshake(EapolPort& port, Clock& clock, crypto::NonceSource& nonces,
                 const crypto::Rc4Cipher& rc4);
    ~KeyHandshake();
    KeyHandshake(const KeyHandshake&) = delete;
    KeyHandshake& operator=(const KeyHandshake&) = delete;

    // Takes the master key, own address, the survey's element and the ciphers from the
    // context. False when the ciphers cannot be negotiated (no TKIP or CCMP pairwise cipher),
    // or an RSN element does not offer the key management the stored mode asks for.
    bool begin(const KeyNegotiationContext& context,
               std::span<const std::uint8_t, 6> authenticatorAddress);
    // The access point the pairwise key is bound to.
    void setAuthenticator(std::span<const std::uint8_t, 6> address);
    // Waits up to kStepWaitMs for one frame and handles it. True once the pairwise and a
    // group key are installed (at once for WPA-None).
    bool step(const KeyNegotiationContext& context);
    // Handles one frame as received from the access point.
    void handleFrame(std::span<const std::uint8_t> frame, const KeyNegotiationContext& context);

    State state() const { return state_; }
    int droppedFrames() const { return dropped_; }
    bool negotiated() const { return state_ == State::Complete; }

private:
    bool beginWpa(const KeyNegotiationContext& context);
    bool beginRsn(const KeyNegotiationContext& context);
    void awaitMessage1();
    void handleMessage1(const EapolKeyFrame& frame);
    void handleMessage3(const EapolKeyFrame& frame, std::span<const std::uint8_t> raw,
                        const KeyNegotiationContext& context);
    void handleGroupMessage(const EapolKeyFrame& frame, std::span<const std::uint8_t> raw,
                            const KeyNegotiationContext& context);
    std::optional<std::vector<std::uint8_t>> openKeyData(
        const EapolKeyFrame& frame, std::span<const std::uint8_t, 16> kek) const;
    // Puts the pairwise key of message 3 in place, not again for a retransmission.
    void installPairwise(const KeyNegotiationContext& context);
    void installGroupKey(std::span<const std::uint8_t, 8> rsc, std::span<const std::uint8_t> key,
                         int index, const KeyNegotiationContext& context);
    bool fresh(std::uint64_t replayCounter) const;
    // Answers with `keyInfo`: RSN replies carry no key length, WPA's repeat the frame's.
    void reply(const EapolKeyFrame& frame, std::uint16_t keyInfo,
               std::span<const std::uint8_t, 16> kck, std::vector<std::uint8_t> keyData = {});
    void drop() { ++dropped_; }

    EapolPort& port_;
    Clock& clock_;
    crypto::NonceSource& nonces_;
    const crypto::Rc4Cipher& rc4_;

    State state_ = State::Idle;
    std::array<std::uint8_t, 32> masterKey_{};
    std::array<std::uint8_t, 6> ownAddress_{};
    std::array<std::uint8_t, 6> authenticator_{};
    std::vector<std::uint8_t> surveyElement_;
    std::vector<std::uint8_t> ownElement_;
    int pairwiseCipher_ = 0;
    int groupCipher_ = 0;
    std::uint8_t descriptorType_ = EapolKeyFrame::kDescriptorWpa;
    std::uint16_t descriptorVersion_ = 0;

    std::array<std::uint8_t, 32> anonce_{};
    std::array<std::uint8_t, 32> snonce_{};
    crypto::PairwiseKeys pending_;  // derived from message 1, trusted after message 3's MIC
    crypto::PairwiseKeys installed_;
    bool pairwiseInstalled_ = false;
    std::optional<std::uint64_t> replayCounter_;  // of the last frame whose MIC held
    std::vector<std::uint8_t> groupKey_;
    int groupIndex_ = -1;
    int dropped_ = 0;
};

}  // namespace rizorivu::dot1x
