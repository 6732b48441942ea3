#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu {

// The suites an RSN element (id 48, the element of WPA2) announces, read bounds-safe. Ciphers
// are ciphercode values (0 for a suite this utility does not know); key management suites are
// the selector's type byte under 00-0F-AC (1 802.1X, 2 pre-shared key), 0xFF for a suite under
// another identifier.
struct RsnElement {
    static constexpr std::uint8_t kKeyManagement8021X = 1;
    static constexpr std::uint8_t kKeyManagementPsk = 2;
    static constexpr std::uint8_t kKeyManagementOther = 0xFF;
    // Capability bits: management frame protection required and capable.
    static constexpr std::uint16_t kCapabilityMfpRequired = 0x0040;
    static constexpr std::uint16_t kCapabilityMfpCapable = 0x0080;

    int groupCipher = 0;
    std::vector<int> pairwiseCiphers;
    std::vector<std::uint8_t> keyManagement;
    std::uint16_t capabilities = 0;
    std::size_t pmkidCount = 0;

    // `element` is id, length byte and body. Empty when it is not an RSN element of version
    // 1, a suite count is zero or reaches past its end, the capabilities are cut short, or the
    // PMKID count claims more than the element holds. Missing trailing fields take the
    // defaults of 802.11i (CCMP for both ciphers, 802.1X key management, no capabilities);
    // fields after the PMKIDs (a management group cipher) are not read.
    static std::optional<RsnElement> parse(std::span<const std::uint8_t> element);
    // The element a station sends in message 2 for the suites it chose: one pairwise cipher,
    // one key management suite, and its own capabilities.
    static std::vector<std::uint8_t> build(int groupCipher, int pairwiseCipher,
                                           std::uint8_t keyManagement, std::uint16_t capabilities);

    bool offersKeyManagement(std::uint8_t suite) const;
    bool offersPairwise(int cipher) const;
    // The pairwise cipher a station takes: CCMP before TKIP; 0 when it offers neither.
    int preferredPairwise() const;
};

}  // namespace rizorivu
