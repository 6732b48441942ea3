#include "sim/SurveyFilter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "adapter/ByteOrder.h"
#include "adapter/SurveyLayout.h"

namespace rizorivu::sim {

namespace {

struct RecordView {
    std::size_t offset = 0;
    std::size_t length = 0;
    std::int32_t rssi = 0;
    std::array<std::uint8_t, 6> bssid{};
};

// Whether the record's own fields describe a record that a reader can walk safely.
bool wellFormed(const std::uint8_t* record, std::size_t length) {
    using namespace survey;
    if (getLe32(record + kSsidLength) > kSsidBytes) {
        return false;
    }
    const std::uint32_t ieLength = getLe32(record + kIeLength);
    if (ieLength < kFixedIeBytes || ieLength > length - kTimestamp) {
        return false;
    }
    std::size_t pos = kElements;
    const std::size_t end = kTimestamp + ieLength;
    while (pos < end) {
        if (end - pos < 2 || record[pos + 1] > end - pos - 2) {
            return false;
        }
        pos += 2u + record[pos + 1];
    }
    return true;
}

}  // namespace

int filterSurvey(std::span<std::uint8_t> buffer) {
    using namespace survey;
    if (buffer.size() < kCountBytes) {
        return -1;
    }
    const std::uint32_t declared = getLe32(buffer.data());
    std::vector<RecordView> records;
    std::size_t offset = kCountBytes;
    for (std::uint32_t i = 0; i < declared; ++i) {
        if (buffer.size() - offset < kMinRecordBytes) {
            break;
        }
        const std::uint8_t* record = buffer.data() + offset;
        const std::size_t length = getLe32(record + kLength);
        if (length < kMinRecordBytes || length > buffer.size() - offset) {
            break;
        }
        if (wellFormed(record, length)) {
            RecordView view{offset, length, static_cast<std::int32_t>(getLe32(record + kRssi)), {}};
            std::copy(record + kBssid, record + kBssid + 6, view.bssid.begin());
            records.push_back(view);
        }
        offset += length;
    }
    const std::size_t walkedEnd = offset;

    std::vector<RecordView> kept;
    for (const RecordView& record : records) {
        const auto same = std::find_if(
            kept.begin(), kept.end(), [&](const RecordView& k) { return k.bssid == record.bssid; });
        if (same == kept.end()) {
            kept.push_back(record);
        } else if (record.rssi > same->rssi) {
            *same = record;
        }
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const RecordView& a, const RecordView& b) { return a.rssi > b.rssi; });

    std::vector<std::uint8_t> rewritten(kCountBytes);
    putLe32(rewritten.data(), static_cast<std::uint32_t>(kept.size()));
    for (const RecordView& record : kept) {
        rewritten.insert(
            rewritten.end(), buffer.begin() + static_cast<std::ptrdiff_t>(record.offset),
            buffer.begin() + static_cast<std::ptrdiff_t>(record.offset + record.length));
    }
    // The kept records are a subset of the walked ones, so the rewrite never grows.
    std::memcpy(buffer.data(), rewritten.data(), rewritten.size());
    std::memset(buffer.data() + rewritten.size(), 0, walkedEnd - rewritten.size());
    return static_cast<int>(kept.size());
}

}  // namespace rizorivu::sim
