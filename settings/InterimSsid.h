#pragma once

#include <array>
#include <cstdint>

namespace rizorivu {

// 32 pseudo-random bytes set as the SSID before the real one, so that the adapter leaves its
// current network first. The generator is the C runtime's linear congruential one, seeded
// with the time in seconds, each byte the low 8 bits of one draw.
std::array<std::uint8_t, 32> interimSsid(std::int64_t wallSeconds);

}  // namespace rizorivu
