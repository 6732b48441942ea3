#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace rizorivu::ui {

// "1.2.0715.2004": a driver version packed as major (bits 31-24), minor (23-16), year - 2000
// (15-12), month (11-8) and the day as two decimal digits one per nibble (7-0).
std::string driverVersionText(std::uint32_t packed);
// The utility's own version followed by the build's date and time, as the compiler writes
// them ("Jul  8 2004", "12:34:56").
std::string utilityVersionText(std::string_view buildDate, std::string_view buildTime);
// "02 00 00 00 05 40": each byte as two upper-case hex digits, single blanks between.
std::string macAddressText(std::span<const std::uint8_t> mac);

}  // namespace rizorivu::ui
