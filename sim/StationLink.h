#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "sim/AssociationRules.h"
#include "sim/EapolChannel.h"
#include "sim/FrameTally.h"

namespace rizorivu::sim {

// The station's association over time: the network it is joining, when the join completes,
// which WPA keys are installed, and the frames that move while it is up.
class StationLink {
public:
    // An association completes this long after it began (the last relevant setting, or the
    // world edit that changed the network), so the utility sees "not connected" first.
    static constexpr std::int64_t kAssociationDelayMs = 1500;
    // An access point that deauthenticated a station for a failed key handshake (the wrong
    // passphrase) lets it associate again only after this long, so that a station with the
    // wrong key shows as not connected most of the time instead of flapping.
    static constexpr std::int64_t kRefusedHandshakeDelayMs = 10'000;
    static constexpr int kTxFramesPerSecond = 24;
    static constexpr int kRxFramesPerSecond = 40;

    StationLink() = default;

    // Leaves the current network and starts associating with `outcome` at `nowMs`; the
    // association completes `delayMs` later.
    void restart(const AssociationOutcome& outcome, std::int64_t nowMs,
                 std::int64_t delayMs = kAssociationDelayMs);
    // Keeps the link when the rules still choose the same network (its speed or data path
    // may change); anything else is a new association.
    void follow(const AssociationOutcome& outcome, std::int64_t nowMs);
    // Counts the frames of the time since the last call.
    void advance(std::int64_t nowMs, FrameTally& tally);

    const AssociationOutcome& outcome() const { return outcome_; }
    bool complete(std::int64_t nowMs) const { return nowMs >= settleAtMs_; }
    // Associated with a network of the world, or a pseudo-IBSS link: connect state 0.
    bool up(std::int64_t nowMs) const;
    // An own ad-hoc cell is running (nobody has joined it).
    bool cellStarted(std::int64_t nowMs) const;

    // The keys the network uses. Data flows only while the installed keys equal them (the
    // group key's index too, except in an ad-hoc cell); without an expectation (802.1X, whose
    // server the simulator does not run) any installed keys do.
    struct ExpectedKeys {
        std::vector<std::uint8_t> pairwise;
        std::vector<std::uint8_t> group;
        int groupIndex = -1;  // -1: any
    };

    void installPairwiseKey(std::vector<std::uint8_t> key);
    void installGroupKey(int index, std::vector<std::uint8_t> key);
    void expectKeys(std::optional<ExpectedKeys> keys) { expected_ = std::move(keys); }
    bool dataFlows() const;
    // Counts associations: every restart begins a new one.
    std::uint64_t association() const { return association_; }

    // The channel of the current association's EAPOL exchange; cleared by every new
    // association. Shared so that a supplicant may hold it beyond the adapter's removal.
    const std::shared_ptr<EapolChannel>& eapol() const { return eapol_; }

private:
    AssociationOutcome outcome_;
    std::int64_t settleAtMs_ = 0;
    std::int64_t lastAdvanceMs_ = 0;
    bool advanced_ = false;
    std::vector<std::uint8_t> pairwiseKey_;
    std::vector<std::uint8_t> groupKey_;
    int groupKeyIndex_ = -1;
    std::optional<ExpectedKeys> expected_;
    std::uint64_t association_ = 0;
    std::shared_ptr<EapolChannel> eapol_ = std::make_shared<EapolChannel>();
};

}  // namespace rizorivu::sim
