#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace rizorivu {

// Cipher codes of a WPA connection, as the WPA worker hands them to the 802.1X library.
namespace ciphercode {
constexpr int kWep40 = 2;
constexpr int kWep104 = 4;
constexpr int kTkip = 8;
constexpr int kCcmp = 16;

// The length of a key of the cipher: what the handshake delivers and the adapter installs;
// 0 for a code that names no cipher.
constexpr std::size_t keyBytes(int cipherCode) {
    switch (cipherCode) {
        case kTkip:
            return 32;  // temporal key, then the two MIC keys
        case kCcmp:
            return 16;
        case kWep104:
            return 13;
        case kWep40:
            return 5;
        default:
            return 0;
    }
}
}  // namespace ciphercode

// Installs one key the handshake produced; called by the 802.1X library from inside
// do_key_negotiation_run, on the WPA worker's thread. `receiveSequence` is the key's 8-byte
// receive sequence counter; `keyType` 0 is the pairwise key, 1 a group key.
using InstallKey =
    std::function<void(std::span<const std::uint8_t, 8> receiveSequence,
                       std::span<const std::uint8_t> key, int keyIndex, int keyType)>;

// Everything the key handshake needs, filled by the supplicant loop before
// do_key_negotiation_init and owned by it for the whole negotiation.
struct KeyNegotiationContext {
    std::array<std::uint8_t, 6> ownMac{};
    std::array<std::uint8_t, 32> pairwiseMasterKey{};
    // A value the library defines; the loops pass it unchanged.
    std::array<std::uint8_t, 16> fixedBlock{};
    // The access point's element as the survey showed it, id, length byte and body: its WPA
    // element (221), or its RSN element (48) for a WPA2 connection, which then speaks the
    // 802.11i descriptor.
    std::vector<std::uint8_t> wpaElement;
    int pairwiseCipher = 0;  // a ciphercode
    int groupCipher = 0;     // a ciphercode; the loops pass the pairwise one
    // The stored "AuthenticationMode" of the connection: which key management the element must
    // offer (WPA2 takes 802.1X for 6, the pre-shared key for 7).
    int authenticationMode = -1;
    InstallKey installKey;
};

}  // namespace rizorivu
