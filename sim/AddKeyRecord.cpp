#include "sim/AddKeyRecord.h"

#include <algorithm>

#include "adapter/ByteOrder.h"

namespace rizorivu::sim {

namespace {

constexpr std::size_t kLengthOffset = 0;
constexpr std::size_t kIndexOffset = 4;
constexpr std::size_t kKeyLengthOffset = 8;
constexpr std::size_t kBssidOffset = 12;
constexpr std::size_t kSequenceOffset = 24;
constexpr std::uint32_t kIndexMask = 0xFF;
constexpr std::uint32_t kReservedBits = ~(AddKeyRecord::kTransmitBit | AddKeyRecord::kPairwiseBit |
                                          AddKeyRecord::kSequenceBit | kIndexMask);

}  // namespace

std::optional<AddKeyRecord> parseAddKeyRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < AddKeyRecord::kHeaderBytes) {
        return std::nullopt;
    }
    const std::uint32_t length = getLe32(bytes.data() + kLengthOffset);
    const std::uint32_t indexWord = getLe32(bytes.data() + kIndexOffset);
    const std::uint32_t keyLength = getLe32(bytes.data() + kKeyLengthOffset);
    if (length < AddKeyRecord::kHeaderBytes || length > bytes.size() || keyLength == 0 ||
        keyLength > AddKeyRecord::kMaxKeyBytes || keyLength > length - AddKeyRecord::kHeaderBytes ||
        (indexWord & kReservedBits) != 0) {
        return std::nullopt;
    }
    const bool transmit = (indexWord & AddKeyRecord::kTransmitBit) != 0;
    const bool pairwise = (indexWord & AddKeyRecord::kPairwiseBit) != 0;
    const int index = static_cast<int>(indexWord & kIndexMask);
    const bool pairwiseShape = pairwise && transmit && index == 0;
    const bool groupShape = !pairwise && !transmit && index <= 3;
    if (!pairwiseShape && !groupShape) {
        return std::nullopt;
    }
    AddKeyRecord record;
    record.pairwise = pairwise;
    record.keyIndex = index;
    std::copy_n(bytes.data() + kBssidOffset, record.bssid.size(), record.bssid.begin());
    std::copy_n(bytes.data() + kSequenceOffset, record.receiveSequence.size(),
                record.receiveSequence.begin());
    record.material.assign(bytes.data() + AddKeyRecord::kHeaderBytes,
                           bytes.data() + AddKeyRecord::kHeaderBytes + keyLength);
    return record;
}

}  // namespace rizorivu::sim
