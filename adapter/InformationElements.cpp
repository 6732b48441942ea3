#include "adapter/InformationElements.h"

#include <algorithm>
#include <array>

#include "adapter/SurveyLayout.h"

namespace rizorivu {

namespace {

constexpr std::array<std::uint8_t, 4> kWpaIdentifier = {0x00, 0x50, 0xF2, 0x01};
constexpr std::size_t kHeaderBytes = 2;  // id and length

}  // namespace

std::vector<InformationElement> informationElements(std::span<const std::uint8_t> area) {
    std::vector<InformationElement> elements;
    std::size_t offset = 0;
    while (area.size() - offset >= kHeaderBytes) {
        const std::size_t dataLength = area[offset + 1];
        if (dataLength > area.size() - offset - kHeaderBytes) {
            break;
        }
        const auto whole = area.subspan(offset, dataLength + kHeaderBytes);
        elements.push_back(InformationElement{whole[0], whole.subspan(kHeaderBytes), whole});
        offset += whole.size();
    }
    return elements;
}

std::optional<std::span<const std::uint8_t>> findWpaElement(std::span<const std::uint8_t> area) {
    std::optional<std::span<const std::uint8_t>> found;
    for (const InformationElement& element : informationElements(area)) {
        if (element.id == survey::kElementVendor && element.data.size() >= kWpaIdentifier.size() &&
            std::equal(kWpaIdentifier.begin(), kWpaIdentifier.end(), element.data.begin())) {
            found = element.bytes;
        }
    }
    return found;
}

std::optional<std::span<const std::uint8_t>> findRsnElement(std::span<const std::uint8_t> area) {
    for (const InformationElement& element : informationElements(area)) {
        if (element.id == survey::kElementRsn) {
            return element.bytes;
        }
    }
    return std::nullopt;
}

}  // namespace rizorivu
