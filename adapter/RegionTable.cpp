#include "adapter/RegionTable.h"

namespace rizorivu {

std::optional<std::uint16_t> regionChannelMask(int regionCode) {
    for (const RegionEntry& entry : kRegionTable) {
        if (entry.code == regionCode) {
            return entry.channelMask;
        }
    }
    return std::nullopt;
}

std::vector<std::uint8_t> channelsOfMask(std::uint16_t mask) {
    std::vector<std::uint8_t> channels;
    for (int bit = 0; bit < 16; ++bit) {
        if (mask & (1u << bit)) {
            channels.push_back(static_cast<std::uint8_t>(bit + 1));
        }
    }
    return channels;
}

}  // namespace rizorivu
