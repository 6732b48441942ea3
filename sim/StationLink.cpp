#include "sim/StationLink.h"

#include <algorithm>

namespace rizorivu::sim {

void StationLink::restart(const AssociationOutcome& outcome, std::int64_t nowMs,
                          std::int64_t delayMs) {
    outcome_ = outcome;
    settleAtMs_ = nowMs + delayMs;
    pairwiseKey_.clear();
    groupKey_.clear();
    groupKeyIndex_ = -1;
    expected_.reset();
    ++association_;
    eapol_->clear();
}

void StationLink::follow(const AssociationOutcome& outcome, std::int64_t nowMs) {
    if (outcome.sameLink(outcome_)) {
        outcome_ = outcome;
    } else {
        restart(outcome, nowMs);
    }
}

void StationLink::advance(std::int64_t nowMs, FrameTally& tally) {
    const std::int64_t from = advanced_ ? std::max(lastAdvanceMs_, settleAtMs_) : nowMs;
    lastAdvanceMs_ = nowMs;
    advanced_ = true;
    if (outcome_.kind == LinkKind::None || outcome_.kind == LinkKind::StartedCell) {
        return;
    }
    const std::int64_t ms = nowMs - from;
    if (outcome_.data == DataPath::TransmitOnly) {
        tally.add(ms, kTxFramesPerSecond, 0);
    } else if (dataFlows()) {
        tally.add(ms, kTxFramesPerSecond, kRxFramesPerSecond);
    }
}

bool StationLink::up(std::int64_t nowMs) const {
    return complete(nowMs) &&
           (outcome_.kind == LinkKind::Infrastructure || outcome_.kind == LinkKind::JoinedCell ||
            outcome_.kind == LinkKind::PseudoIbss);
}

bool StationLink::cellStarted(std::int64_t nowMs) const {
    return complete(nowMs) && outcome_.kind == LinkKind::StartedCell;
}

void StationLink::installPairwiseKey(std::vector<std::uint8_t> key) {
    pairwiseKey_ = std::move(key);
}

void StationLink::installGroupKey(int index, std::vector<std::uint8_t> key) {
    groupKeyIndex_ = index;
    groupKey_ = std::move(key);
}

bool StationLink::dataFlows() const {
    const bool groupFits =
        !groupKey_.empty() &&
        (!expected_ || (groupKey_ == expected_->group &&
                        (expected_->groupIndex < 0 || groupKeyIndex_ == expected_->groupIndex)));
    switch (outcome_.data) {
        case DataPath::Flows:
            return true;
        case DataPath::AfterKeys:
            return groupFits && !pairwiseKey_.empty() &&
                   (!expected_ || pairwiseKey_ == expected_->pairwise);
        case DataPath::AfterGroupKey:
            return groupFits;
        default:
            return false;
    }
}

}  // namespace rizorivu::sim
