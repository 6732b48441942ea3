#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/World.h"

namespace rizorivu::sim {

// The value syntax of world files.

// The rates an 802.11g radio offers unless the world says otherwise; the 802.11b ones basic.
constexpr RateBytes kDefaultRates = {0x82, 0x84, 0x8B, 0x96, 12, 18, 24, 36, 48, 72, 96, 108};

// Decimal, or hexadecimal after "0x", with an optional sign; nothing else around it.
std::optional<long long> parseInteger(std::string_view text);

// Pairs of hex digits; blanks, colons and hyphens between pairs are ignored.
std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text);

// "1* 2* 5.5* 11* 6 9": 802.11b/g rates in Mbit/s, "*" for a basic rate, separated by blanks
// or commas, at most 16 and none twice. Nothing, with the reason in `why`, otherwise.
std::optional<RateBytes> parseRates(std::string_view text, std::string& why);

std::string lowerAscii(std::string_view text);

}  // namespace rizorivu::sim
