#include "ui/main/SurveyBuffer.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace rizorivu::ui {

namespace {

namespace layout = surveylayout;

constexpr std::array<std::uint8_t, 4> kWpaIdentifier = {0x00, 0x50, 0xF2, 0x01};

// Callers have checked that four bytes are there.
std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

// Walks at most `limit` records and answers how many it reached; `last` receives the place
// of the last one reached.
std::size_t walk(std::span<const std::uint8_t> buffer, std::size_t limit, SurveyRecordPlace* last) {
    const std::size_t declared = surveyDeclaredCount(buffer);
    const std::size_t wanted = std::min(declared, limit);
    std::size_t offset = layout::kCountBytes;
    std::size_t reached = 0;
    while (reached < wanted && offset <= buffer.size() &&
           buffer.size() - offset >= layout::kFixedBytes) {
        const std::size_t length = le32(buffer, offset + layout::kLength);
        if (length < layout::kFixedBytes || length > buffer.size() - offset) {
            break;
        }
        if (last != nullptr) {
            *last = SurveyRecordPlace{offset, length};
        }
        offset += length;
        ++reached;
    }
    return reached;
}

}  // namespace

std::size_t surveyDeclaredCount(std::span<const std::uint8_t> buffer) {
    if (buffer.size() < layout::kCountBytes) {
        return 0;
    }
    return le32(buffer, 0);
}

std::size_t surveyRecordCount(std::span<const std::uint8_t> buffer) {
    return walk(buffer, surveyDeclaredCount(buffer), nullptr);
}

std::optional<SurveyRecordPlace> surveyRecordPlace(std::span<const std::uint8_t> buffer,
                                                   std::size_t index) {
    if (index >= buffer.size()) {  // no buffer holds that many records; keeps index + 1 sane
        return std::nullopt;
    }
    SurveyRecordPlace place;
    if (walk(buffer, index + 1, &place) != index + 1) {
        return std::nullopt;
    }
    return place;
}

std::span<const std::uint8_t, layout::kBssidBytes> surveyBssid(
    std::span<const std::uint8_t> record) {
    return record.subspan<layout::kBssid, layout::kBssidBytes>();
}

std::span<const std::uint8_t> surveySsid(std::span<const std::uint8_t> record) {
    const std::size_t declared = le32(record, layout::kSsidLength);
    const auto bytes =
        record.subspan(layout::kSsid, std::min<std::size_t>(declared, layout::kSsidBytes));
    const auto zero = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes.first(static_cast<std::size_t>(zero - bytes.begin()));
}

std::uint32_t surveyPrivacy(std::span<const std::uint8_t> record) {
    return le32(record, layout::kPrivacy);
}

std::int32_t surveyRssi(std::span<const std::uint8_t> record) {
    return static_cast<std::int32_t>(le32(record, layout::kRssi));
}

void surveySetRssi(std::span<std::uint8_t> record, std::int32_t rssi) {
    const auto value = static_cast<std::uint32_t>(rssi);
    for (std::size_t i = 0; i < 4; ++i) {
        record[layout::kRssi + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t surveyFrequency(std::span<const std::uint8_t> record) {
    return le32(record, layout::kFrequency);
}

std::uint32_t surveyInfrastructureMode(std::span<const std::uint8_t> record) {
    return le32(record, layout::kInfrastructureMode);
}

std::uint32_t surveyIeLength(std::span<const std::uint8_t> record) {
    return le32(record, layout::kIeLength);
}

std::vector<InformationElement> surveyElements(std::span<const std::uint8_t> record) {
    std::vector<InformationElement> elements;
    // 64-bit sum: an ieLength near 2^32 must not wrap around to a short area.
    const std::uint64_t areaEnd = layout::kIeArea + std::uint64_t{surveyIeLength(record)};
    const auto end = static_cast<std::size_t>(std::min<std::uint64_t>(areaEnd, record.size()));
    std::size_t offset = layout::kElements;
    while (offset < end && end - offset >= 2) {
        const std::size_t dataLength = record[offset + 1];
        if (dataLength > end - offset - 2) {
            break;
        }
        const auto whole = record.subspan(offset, dataLength + 2);
        elements.push_back(InformationElement{whole[0], whole.subspan(2), whole});
        offset += whole.size();
    }
    return elements;
}

std::optional<std::span<const std::uint8_t>> surveyWpaElement(
    std::span<const std::uint8_t> record) {
    for (const InformationElement& element : surveyElements(record)) {
        if (element.id == layout::kVendorElementId &&
            element.data.size() >= kWpaIdentifier.size() &&
            std::equal(kWpaIdentifier.begin(), kWpaIdentifier.end(), element.data.begin())) {
            return element.bytes;
        }
    }
    return std::nullopt;
}

std::optional<int> channelFromFrequency(std::int64_t kHz) {
    if (kHz >= 2412000 && kHz <= 2484000) {
        if (kHz == 2484000) {
            return 14;
        }
        return static_cast<int>((kHz / 1000 - 2412) / 5 + 1);
    }
    if (kHz >= 5000000 && kHz <= 6000000) {
        return static_cast<int>((kHz / 1000 - 5000) / 5);
    }
    return std::nullopt;
}

std::int32_t clampRssi(std::int32_t rssi) {
    return std::clamp(rssi, kWeakestRssi, kStrongestRssi);
}

std::string strengthText(std::int32_t rssi, bool showDbm) {
    std::array<char, 32> text{};
    if (showDbm) {
        std::snprintf(text.data(), text.size(), "%d dBm", static_cast<int>(rssi));
    } else {
        const int percent =
            (clampRssi(rssi) - kWeakestRssi) * 100 / (kStrongestRssi - kWeakestRssi);
        std::snprintf(text.data(), text.size(), "%d%%", percent);
    }
    return text.data();
}

StrengthCell fillStrength(const SurveyRecordView& record, bool showDbm) {
    std::int32_t rssi = record.rssi();
    if (!showDbm) {
        rssi = clampRssi(rssi);
        record.setRssi(rssi);
    }
    return StrengthCell{strengthText(rssi, showDbm), rssi};
}

std::string ssidText(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (const std::uint8_t byte : bytes) {
        if (byte == 0) {
            break;
        }
        if (byte < 0x80) {
            text.push_back(static_cast<char>(byte));
        } else {
            text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return text;
}

}  // namespace rizorivu::ui
