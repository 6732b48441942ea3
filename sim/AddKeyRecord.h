#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/World.h"

namespace rizorivu::sim {

// The NDIS 802.11 add-key record that WriteOid(kOidAddKey) carries: total length (4), key
// index word (4), key length (4), BSSID (6), padding (6), receive sequence counter (8), key
// material from offset 32. In the index word bit 31 marks the transmit key, bit 30 a
// pairwise key, bit 29 a valid receive sequence counter; the low byte is the key index.
struct AddKeyRecord {
    static constexpr std::size_t kHeaderBytes = 32;
    static constexpr std::uint32_t kTransmitBit = 0x80000000u;
    static constexpr std::uint32_t kPairwiseBit = 0x40000000u;
    static constexpr std::uint32_t kSequenceBit = 0x20000000u;
    static constexpr std::size_t kMaxKeyBytes = 32;

    bool pairwise = false;
    int keyIndex = 0;
    MacAddress bssid{};
    std::array<std::uint8_t, 8> receiveSequence{};
    std::vector<std::uint8_t> material;
};

// Reads a record of `bytes`, trusting nothing in it. Nothing when the declared length is
// below the header or beyond `bytes`, the key is empty, longer than 32 bytes or runs past
// the declared length, or the index word is not one of the two shapes a key can have: a
// pairwise transmit key of index 0 (bits 31 and 30), or a group key of index 0-3 (neither).
std::optional<AddKeyRecord> parseAddKeyRecord(std::span<const std::uint8_t> bytes);

}  // namespace rizorivu::sim
