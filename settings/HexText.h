#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace rizorivu {

// The text form of byte strings (WEP keys, rate sets, MAC addresses): two upper-case hex
// digits a byte, separated by one space ("0A 1B 2C"), or back to back without separators.
// The value of one hex digit in either case, or -1 for any other character.
int hexDigitValue(char c);

std::string BytesToHexText(std::span<const std::uint8_t> bytes, bool spaced = true);

// Reads hex text into `out`, which is cleared to zero first. Blanks (space, tab) end a
// token; a token is complete after two digits, so "0A0B" and "0A 0B" both give two bytes,
// and a one-digit token is complete at the next blank or at the end of the text. Scanning
// stops at any other character (dropping a pending one-digit token) and when a digit arrives
// after `out` is full. Never fails; answers the number of bytes stored.
std::size_t HexTextToBytes(std::string_view text, std::span<std::uint8_t> out);

}  // namespace rizorivu
