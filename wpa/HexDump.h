#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace rizorivu::wpa {

// The diagnostic dump of a derived key: a line break, then each byte as "%2x " (lower-case
// hex padded with a blank to two places, then a blank), a line break after every 16th byte,
// and a final line break. The text holds key material: whoever receives it must keep it
// where no other user or process can read it.
std::string dumpHex(std::span<const std::uint8_t> bytes);

}  // namespace rizorivu::wpa
