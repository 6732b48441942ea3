#include "wpa/AddKeyRecordBuilder.h"

#include <algorithm>

#include "adapter/ByteOrder.h"

namespace rizorivu::wpa {

std::optional<std::vector<std::uint8_t>> AddKeyRecordBuilder::build(
    std::span<const std::uint8_t, 6> bssid, std::span<const std::uint8_t, 8> receiveSequence,
    std::span<const std::uint8_t> key, int keyIndex, int keyType) {
    if (key.empty() || key.size() > kMaxKeyBytes) {
        return std::nullopt;
    }
    std::uint32_t indexWord = kSequenceBit;
    if (keyType == kPairwiseKey) {
        indexWord |= kTransmitBit | kPairwiseBit;
    } else if (keyType == kGroupKey && keyIndex >= 0 && keyIndex <= 3) {
        indexWord |= static_cast<std::uint32_t>(keyIndex);
    } else {
        return std::nullopt;
    }
    const std::size_t length = key.size() + kKeyOffset + kTrailingBytes;
    std::vector<std::uint8_t> record(length, 0);
    putLe32(record.data(), static_cast<std::uint32_t>(length));
    putLe32(record.data() + 4, indexWord);
    putLe32(record.data() + 8, static_cast<std::uint32_t>(key.size()));
    std::copy(bssid.begin(), bssid.end(), record.begin() + 12);
    std::copy(receiveSequence.begin(), receiveSequence.end(), record.begin() + 24);
    std::copy(key.begin(), key.end(), record.begin() + kKeyOffset);
    return record;
}

}  // namespace rizorivu::wpa
