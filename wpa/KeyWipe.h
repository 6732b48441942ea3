#pragma once

#include <cstdint>
#include <span>

namespace rizorivu::wpa {

// Zeroes key material before its memory is given back, in a way the compiler cannot drop as
// a dead store.
void wipeKey(std::span<std::uint8_t> bytes);

}  // namespace rizorivu::wpa
