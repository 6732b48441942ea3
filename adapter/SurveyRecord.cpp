#include "adapter/SurveyRecord.h"

#include <algorithm>

#include "adapter/ByteOrder.h"

namespace rizorivu {

std::span<const std::uint8_t, survey::kBssidBytes> surveyBssid(
    std::span<const std::uint8_t> record) {
    return record.subspan<survey::kBssid, survey::kBssidBytes>();
}

std::span<const std::uint8_t> surveySsid(std::span<const std::uint8_t> record) {
    const std::size_t declared = getLe32(record.data() + survey::kSsidLength);
    const auto bytes =
        record.subspan(survey::kSsid, std::min<std::size_t>(declared, survey::kSsidBytes));
    const auto zero = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes.first(static_cast<std::size_t>(zero - bytes.begin()));
}

std::uint32_t surveyPrivacy(std::span<const std::uint8_t> record) {
    return getLe32(record.data() + survey::kPrivacy);
}

std::int32_t surveyRssi(std::span<const std::uint8_t> record) {
    return static_cast<std::int32_t>(getLe32(record.data() + survey::kRssi));
}

void surveySetRssi(std::span<std::uint8_t> record, std::int32_t rssi) {
    putLe32(record.data() + survey::kRssi, static_cast<std::uint32_t>(rssi));
}

std::uint32_t surveyFrequency(std::span<const std::uint8_t> record) {
    return getLe32(record.data() + survey::kFrequency);
}

std::uint32_t surveyInfrastructureMode(std::span<const std::uint8_t> record) {
    return getLe32(record.data() + survey::kInfrastructureMode);
}

std::uint32_t surveyIeLength(std::span<const std::uint8_t> record) {
    return getLe32(record.data() + survey::kIeLength);
}

std::span<const std::uint8_t> surveyElementArea(std::span<const std::uint8_t> record) {
    // 64-bit sum: an ieLength near 2^32 must not wrap around to a short area.
    const std::uint64_t areaEnd = survey::kTimestamp + std::uint64_t{surveyIeLength(record)};
    const auto end = static_cast<std::size_t>(std::min<std::uint64_t>(areaEnd, record.size()));
    return record.subspan(survey::kElements, end > survey::kElements ? end - survey::kElements : 0);
}

}  // namespace rizorivu
