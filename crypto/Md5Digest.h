#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace rizorivu::crypto {

// MD5 over the concatenation of `parts`, as RADIUS authenticators and attribute hiding use
// it. False when OpenSSL refuses.
using Md5 = std::array<std::uint8_t, 16>;

bool md5Digest(std::initializer_list<std::span<const std::uint8_t>> parts, Md5& digest);

}  // namespace rizorivu::crypto
