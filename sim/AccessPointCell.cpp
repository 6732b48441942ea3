#include "sim/AccessPointCell.h"

#include <algorithm>

namespace rizorivu::sim {

std::vector<MacAddress> AccessPointCell::admitted(const World& world, const ModeSettings& settings,
                                                  const AccessPointSettings& ap,
                                                  std::span<const std::uint8_t> channels) {
    std::vector<MacAddress> stations;
    if (settings.ssid.empty() ||
        std::find(channels.begin(), channels.end(), settings.channel) == channels.end()) {
        return stations;
    }
    for (const WorldClient& client : world.clients) {
        if (!client.present || (client.channel != 0 && client.channel != settings.channel)) {
            continue;
        }
        const bool ssidFits = client.ssid.empty() ? ap.hideSsid == 0 : client.ssid == settings.ssid;
        const bool listed =
            std::any_of(ap.filter.begin(), ap.filter.end(),
                        [&](const FilterEntry& e) { return e.inUse && e.mac == client.mac; });
        const bool filterFits = ap.filterMode == MacFilterMode::Off ||
                                (ap.filterMode == MacFilterMode::AdmitListed && listed) ||
                                (ap.filterMode == MacFilterMode::RefuseListed && !listed);
        if (ssidFits && filterFits && stations.size() < setting::kFilterEntries) {
            stations.push_back(client.mac);
        }
    }
    return stations;
}

void AccessPointCell::restart(std::int64_t nowMs) {
    joinAtMs_ = nowMs + kJoinDelayMs;
}

void AccessPointCell::advance(std::int64_t nowMs, FrameTally& tally) {
    const std::int64_t from = advanced_ ? std::max(lastAdvanceMs_, joinAtMs_) : nowMs;
    lastAdvanceMs_ = nowMs;
    advanced_ = true;
    const auto n = static_cast<int>(stations_.size());
    tally.add(nowMs - from, n * kTxFramesPerStation, n * kRxFramesPerStation);
}

std::span<const MacAddress> AccessPointCell::stations(std::int64_t nowMs) const {
    if (nowMs < joinAtMs_) {
        return {};
    }
    return stations_;
}

}  // namespace rizorivu::sim
