#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu {

// The suites a WPA element (vendor element 221, 00-50-F2 type 1) announces, read bounds-safe.
// Ciphers are ciphercode values (0 for a suite this utility does not know); key management
// suites are the selector's last byte: 0 none (ad hoc WPA-None), 1 802.1X, 2 pre-shared key.
struct WpaElement {
    static constexpr std::uint8_t kKeyManagementNone = 0;
    static constexpr std::uint8_t kKeyManagement8021X = 1;
    static constexpr std::uint8_t kKeyManagementPsk = 2;

    int groupCipher = 0;
    std::vector<int> pairwiseCiphers;
    std::vector<std::uint8_t> keyManagement;

    // `element` is id, length byte and body. Empty when it is not a WPA element of version 1,
    // or a suite count reaches past its end. Missing trailing fields take the WPA defaults
    // (TKIP for both ciphers, 802.1X key management).
    static std::optional<WpaElement> parse(std::span<const std::uint8_t> element);
    // The element a station sends for the suites it chose: one pairwise cipher, one key
    // management suite.
    static std::vector<std::uint8_t> build(int groupCipher, int pairwiseCipher,
                                           std::uint8_t keyManagement);

    // A cipher suite's type byte as a ciphercode (0 for one this utility does not know), and
    // back (0 for no known cipher). The RSN element numbers its suites the same way.
    static int cipherOfSuiteType(std::uint8_t type);
    static std::uint8_t suiteTypeOfCipher(int cipherCode);
};

}  // namespace rizorivu
