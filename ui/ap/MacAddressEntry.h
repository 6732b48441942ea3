#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace rizorivu::ui {

// What the user typed into one slot of the MAC filter. Six bytes as pairs of hex digits,
// separated by blanks, tabs, colons or hyphens or written back to back; blank or all-zero text
// is an empty slot. Anything else is refused instead of being cut at the first odd character:
// a silently emptied slot would let a station through that the user meant to refuse.
struct MacAddressEntry {
    enum class Kind {
        Empty,      // nothing typed, or 00 00 00 00 00 00
        Address,    // a station's address
        Malformed,  // not six pairs of hex digits
        Group,      // a multicast or broadcast address, which no station has
    };

    static constexpr std::size_t kBytes = 6;

    Kind kind = Kind::Empty;
    std::array<std::uint8_t, kBytes> bytes{};

    static MacAddressEntry read(std::string_view text);
};

}  // namespace rizorivu::ui
