#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu::wpa {

// The add-key record WriteOid(kOidAddKey) hands the adapter, laid out as the driver's add-key
// structure: total length L = key length + 39 (4 bytes), key index word (4), key length (4),
// BSSID (6), six zero bytes, receive sequence counter (8), the key from byte 32, zero bytes
// up to L. Integers are little-endian.
class AddKeyRecordBuilder {
public:
    static constexpr std::size_t kKeyOffset = 32;
    static constexpr std::size_t kTrailingBytes = 7;
    static constexpr std::size_t kMaxKeyBytes = 32;
    static constexpr std::uint32_t kTransmitBit = 0x80000000u;
    static constexpr std::uint32_t kPairwiseBit = 0x40000000u;
    static constexpr std::uint32_t kSequenceBit = 0x20000000u;
    static constexpr int kPairwiseKey = 0;
    static constexpr int kGroupKey = 1;

    // The record for one key, or nothing when the key cannot be installed: empty or longer
    // than 32 bytes, a key type other than pairwise (0) or group (1), or a group key index
    // outside 0-3. A pairwise key is always the transmit key of index 0.
    static std::optional<std::vector<std::uint8_t>> build(
        std::span<const std::uint8_t, 6> bssid, std::span<const std::uint8_t, 8> receiveSequence,
        std::span<const std::uint8_t> key, int keyIndex, int keyType);
};

}  // namespace rizorivu::wpa
