#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu {

// The regulatory regions the adapter is configured for: each code with a 16-bit channel
// mask (bit i set = channel i + 1 allowed). The driver and the utility share this table.
struct RegionEntry {
    std::uint8_t code;
    std::uint16_t channelMask;
};

constexpr RegionEntry kRegionTable[] = {
    {0x00, 0x0000},  // none
    {0x10, 0x07FF},  // FCC: 1-11
    {0x20, 0x07FF},  // DOC (IC): 1-11
    {0x30, 0x1FFF},  // ETSI: 1-13
    {0x31, 0x0600},  // Spain: 10-11
    {0x32, 0x1E00},  // France: 10-13
    {0x40, 0x3FFF},  // MKK: 1-14
    {0x50, 0x01FC},  // 3-9
};

// The channel mask of a region code, or nothing when the code is not in the table.
std::optional<std::uint16_t> regionChannelMask(int regionCode);

// The channel numbers of a mask, in ascending order.
std::vector<std::uint8_t> channelsOfMask(std::uint16_t mask);

}  // namespace rizorivu
