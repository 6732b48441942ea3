#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace rizorivu::crypto {

// The two MICs of an EAPOL-Key frame: HMAC-MD5 (descriptor version 1, TKIP) and HMAC-SHA1
// cut to 128 bits (version 2, CCMP). Both answer 16 bytes; false when OpenSSL refuses.
using Mic = std::array<std::uint8_t, 16>;

bool hmacMd5(std::span<const std::uint8_t> key, std::span<const std::uint8_t> data, Mic& mic);
bool hmacSha1_128(std::span<const std::uint8_t> key, std::span<const std::uint8_t> data, Mic& mic);

// The full 20-byte HMAC-SHA1 the pseudo-random function is built from.
bool hmacSha1(std::span<const std::uint8_t> key, std::span<const std::uint8_t> data,
              std::span<std::uint8_t, 20> output);

// Compares in time that does not depend on where the first difference lies.
bool micEqual(std::span<const std::uint8_t, 16> a, std::span<const std::uint8_t, 16> b);

}  // namespace rizorivu::crypto
