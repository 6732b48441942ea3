#include "adapter/KeyDataElements.h"

#include <algorithm>

#include "adapter/SurveyLayout.h"

namespace rizorivu {

namespace {

constexpr std::uint8_t kOui[] = {0x00, 0x0F, 0xAC};
constexpr std::uint8_t kKdeId = survey::kElementVendor;
constexpr std::size_t kHeaderBytes = 2;
constexpr std::size_t kKdeHeaderBytes = 4;       // organisation identifier and data type
constexpr std::size_t kGroupKeyHeaderBytes = 2;  // key id and transmit bit, reserved
constexpr std::uint8_t kIndexMask = 0x03;
constexpr std::uint8_t kTransmitBit = 0x04;

// Padding: one 0xDD and nothing but zeros after it.
bool isPadding(std::span<const std::uint8_t> rest) {
    return rest[0] == kKdeId &&
           std::all_of(rest.begin() + 1, rest.end(), [](std::uint8_t b) { return b == 0; });
}

std::vector<std::uint8_t> kde(std::uint8_t type, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out{kKdeId,  static_cast<std::uint8_t>(kKdeHeaderBytes + data.size()),
                                  kOui[0], kOui[1],
                                  kOui[2], type};
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

}  // namespace

std::optional<KeyDataElements> KeyDataElements::parse(std::span<const std::uint8_t> keyData) {
    KeyDataElements out;
    std::size_t offset = 0;
    while (offset < keyData.size()) {
        const auto rest = keyData.subspan(offset);
        if (isPadding(rest)) {
            break;
        }
        if (rest.size() < kHeaderBytes || rest[1] > rest.size() - kHeaderBytes) {
            return std::nullopt;
        }
        const auto whole = rest.first(kHeaderBytes + rest[1]);
        const auto data = whole.subspan(kHeaderBytes);
        offset += whole.size();
        if (whole[0] == survey::kElementRsn) {
            out.rsnElements.push_back(whole);
            continue;
        }
        const bool ours = whole[0] == kKdeId && data.size() >= kKdeHeaderBytes &&
                          std::equal(std::begin(kOui), std::end(kOui), data.begin());
        if (!ours || data[3] != kTypeGroupKey) {
            continue;  // a PMKID, another KDE or another element: nothing of ours
        }
        const auto body = data.subspan(kKdeHeaderBytes);
        if (out.groupKey || body.size() <= kGroupKeyHeaderBytes ||
            body.size() - kGroupKeyHeaderBytes > kMaxGroupKeyBytes) {
            return std::nullopt;
        }
        out.groupKey = GroupKeyElement{body[0] & kIndexMask, (body[0] & kTransmitBit) != 0,
                                       body.subspan(kGroupKeyHeaderBytes)};
    }
    return out;
}

std::vector<std::uint8_t> groupKeyKde(int index, bool transmit, std::span<const std::uint8_t> key) {
    std::vector<std::uint8_t> data{
        static_cast<std::uint8_t>((index & kIndexMask) | (transmit ? kTransmitBit : 0)), 0x00};
    data.insert(data.end(), key.begin(), key.end());
    return kde(KeyDataElements::kTypeGroupKey, data);
}

std::vector<std::uint8_t> pmkidKde(std::span<const std::uint8_t, 16> pmkid) {
    return kde(KeyDataElements::kTypePmkid, pmkid);
}

}  // namespace rizorivu
