#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace rizorivu::crypto {

// The IEEE 802.11i pseudo-random function: HMAC-SHA1 over label | 0 | data | counter, as many
// rounds as `output` needs. False when OpenSSL refuses.
bool prf(std::span<const std::uint8_t> key, std::string_view label,
         std::span<const std::uint8_t> data, std::span<std::uint8_t> output);

// The pairwise transient key and its parts. TKIP uses all 64 bytes (a 32-byte temporal key
// holding the Michael MIC keys), CCMP the first 48 (a 16-byte temporal key).
struct PairwiseKeys {
    static constexpr std::size_t kMaxBytes = 64;
    std::array<std::uint8_t, kMaxBytes> bytes{};
    std::size_t temporalKeyBytes = 0;

    std::span<const std::uint8_t, 16> confirmationKey() const {
        return std::span(bytes).subspan<0, 16>();
    }
    std::span<const std::uint8_t, 16> encryptionKey() const {
        return std::span(bytes).subspan<16, 16>();
    }
    std::span<const std::uint8_t> temporalKey() const {
        return std::span(bytes).subspan(32, temporalKeyBytes);
    }
    ~PairwiseKeys();
};

// PMK + both addresses + both nonces -> PTK ("Pairwise key expansion"; the smaller address and
// nonce go first, so both ends derive the same key). `temporalKeyBytes` is 16 or 32.
bool derivePairwiseKeys(std::span<const std::uint8_t, 32> masterKey,
                        std::span<const std::uint8_t, 6> authenticatorAddress,
                        std::span<const std::uint8_t, 6> supplicantAddress,
                        std::span<const std::uint8_t, 32> authenticatorNonce,
                        std::span<const std::uint8_t, 32> supplicantNonce,
                        std::size_t temporalKeyBytes, PairwiseKeys& keys);

}  // namespace rizorivu::crypto
