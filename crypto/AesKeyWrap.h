#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu::crypto {

// AES key wrap (RFC 3394) with the default initial value. The key encryption key is 16, 24 or
// 32 bytes; the plain text a multiple of 8 bytes, at least 16. Empty answers when OpenSSL
// refuses or, on unwrapping, when the integrity check fails.
std::optional<std::vector<std::uint8_t>> aesKeyWrap(std::span<const std::uint8_t> kek,
                                                    std::span<const std::uint8_t> plain);
std::optional<std::vector<std::uint8_t>> aesKeyUnwrap(std::span<const std::uint8_t> kek,
                                                      std::span<const std::uint8_t> wrapped);

}  // namespace rizorivu::crypto
