#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "adapter/EapolKeyFrame.h"
#include "crypto/KeyHierarchy.h"
#include "crypto/NonceSource.h"
#include "crypto/Rc4Cipher.h"
#include "sim/EapolChannel.h"
#include "sim/World.h"

namespace rizorivu::sim {

// A WPA-PSK access point's authenticator for one associated station, on the access point's
// side of the EAPOL channel: message 1 (again on EAPOL-Start), message 2's MIC checked,
// message 3 with the access point's WPA element, message 4, then the group-key handshake, and
// a new group key at the rekey interval. A station that associated with WPA2 is met with the
// 802.11i descriptor instead: message 1 names the PMKID, message 3 carries the RSN element and
// the group key in its encrypted key data, and only a rekey runs the group-key handshake. A message
// that goes unanswered, or is answered with a wrong MIC, is sent again with the next replay
// counter; after kMaxSends sends of one message the station is to be deauthenticated. Frames from
// the station are untrusted: what does not fit the expected message is dropped. Not synchronised;
// the adapter's lock covers it.
class PskAuthenticator {
public:
    static constexpr std::int64_t kRetryMs = 1000;
    static constexpr int kMaxSends = 4;

    enum class State {
        AwaitingMessage2,
        AwaitingMessage4,
        AwaitingGroupAnswer,
        Established,
        Failed
    };

    struct Setup {
        std::array<std::uint8_t, 32> masterKey{};
        MacAddress address{};  // the access point's BSSID
        MacAddress station{};
        int pairwiseCipher = 0;  // ciphercode: TKIP or CCMP
        int groupCipher = 0;     // ciphercode: WEP-40, WEP-104, TKIP or CCMP
        // The element the beacons carry: WPA's, or the RSN element for a WPA2 station.
        std::vector<std::uint8_t> element;
        bool rsn = false;          // WPA2: the 802.11i descriptor
        std::int64_t rekeyMs = 0;  // 0: never
    };

    PskAuthenticator(Setup setup, EapolChannel& channel, crypto::NonceSource& nonces,
                     const crypto::Rc4Cipher& rc4);
    ~PskAuthenticator();
    PskAuthenticator(const PskAuthenticator&) = delete;
    PskAuthenticator& operator=(const PskAuthenticator&) = delete;

    // The station has associated: message 1.
    void start(std::int64_t nowMs);
    // One frame the station sent.
    void receive(std::span<const std::uint8_t> frame, std::int64_t nowMs);
    // Sends again what went unanswered and renews the group key when it is due.
    void tick(std::int64_t nowMs);

    State state() const { return state_; }
    bool failed() const { return state_ == State::Failed; }
    // The temporal key the station must install; empty until message 4 held.
    std::span<const std::uint8_t> temporalKey() const;
    // The current group key and its index; empty until the group handshake began.
    std::span<const std::uint8_t> groupKey() const { return groupKey_; }
    int groupIndex() const { return groupIndex_; }
    std::uint64_t replayCounter() const { return counter_; }
    int micFailures() const { return micFailures_; }
    int droppedFrames() const { return dropped_; }

private:
    std::uint16_t version() const;
    bool expect(State state, std::int64_t nowMs);
    void transmit(EapolKeyFrame& frame, bool sign);
    // Puts `plain` under the KEK as the frame's key data (with a fresh IV for RC4).
    bool seal(EapolKeyFrame& frame, std::span<const std::uint8_t> plain);
    void sendMessage1(std::int64_t nowMs);
    void sendMessage3(std::int64_t nowMs);
    void sendGroupMessage(std::int64_t nowMs);
    void resend(std::int64_t nowMs);
    void onMessage2(const EapolKeyFrame& frame, std::span<const std::uint8_t> raw,
                    std::int64_t nowMs);
    void onMessage4(std::span<const std::uint8_t> raw, std::int64_t nowMs);
    void onGroupAnswer(std::span<const std::uint8_t> raw, std::int64_t nowMs);
    bool elementFits(std::span<const std::uint8_t> element) const;
    bool newGroupKey();

    Setup setup_;
    EapolChannel& channel_;
    crypto::NonceSource& nonces_;
    const crypto::Rc4Cipher& rc4_;
    State state_ = State::AwaitingMessage2;
    std::uint64_t counter_ = 0;
    std::array<std::uint8_t, 32> anonce_{};
    crypto::PairwiseKeys keys_;
    bool pairwiseDone_ = false;
    std::vector<std::uint8_t> groupKey_;
    int groupIndex_ = 0;
    int sends_ = 0;  // of the message awaiting its answer
    std::int64_t retryAtMs_ = 0;
    std::int64_t rekeyAtMs_ = 0;
    int micFailures_ = 0;
    int dropped_ = 0;
};

}  // namespace rizorivu::sim
