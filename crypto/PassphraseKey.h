#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace rizorivu::crypto {

// The IEEE 802.11i passphrase mapping: PBKDF2-HMAC-SHA1 of the passphrase, salted with the
// SSID's bytes exactly as the adapter was given them. Fills `output` (usually the 32-byte
// pairwise master key); false when OpenSSL refuses (no output, non-positive iterations).
bool derivePassphraseKey(std::string_view passphrase, std::span<const std::uint8_t> ssid,
                         int iterations, std::span<std::uint8_t> output);

}  // namespace rizorivu::crypto
