#include "adapter/WpaSuiteTypes.h"

#include <algorithm>
#include <optional>

#include "adapter/InformationElements.h"
#include "adapter/RsnElement.h"
#include "adapter/WpaElement.h"

namespace rizorivu {

namespace {

// Offsets inside the whole element, counted from its id byte.
constexpr std::size_t kPairwiseCount = 12;
constexpr std::size_t kSuiteBytes = 4;
constexpr std::size_t kSuiteType = 3;  // after the 3-byte organisation identifier
constexpr std::size_t kCountBytes = 2;
constexpr int kUnknownSuite = 0xFF;

// A little-endian suite count at `offset`, or nothing when it lies past the element.
std::optional<std::size_t> countAt(std::span<const std::uint8_t> element, std::size_t offset) {
    if (element.size() < offset + kCountBytes) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(element[offset] | (element[offset + 1] << 8));
}

// Whether `count` suites starting at `first` fit inside the element.
bool suitesFit(std::span<const std::uint8_t> element, std::size_t first, std::size_t count) {
    return first <= element.size() && count <= (element.size() - first) / kSuiteBytes;
}

}  // namespace

WpaSuiteTypes wpaSuiteTypes(std::span<const std::uint8_t> elementArea) {
    WpaSuiteTypes types;
    const auto element = findWpaElement(elementArea);
    if (!element) {
        return types;
    }
    types.seen = true;

    const auto pairwise = countAt(*element, kPairwiseCount);
    const std::size_t firstPairwise = kPairwiseCount + kCountBytes;
    if (!pairwise || !suitesFit(*element, firstPairwise, *pairwise)) {
        return types;
    }
    if (*pairwise >= 1) {
        types.pairwise = (*element)[firstPairwise + kSuiteType];
    }

    const std::size_t akmCountAt = firstPairwise + *pairwise * kSuiteBytes;
    const auto akm = countAt(*element, akmCountAt);
    const std::size_t firstAkm = akmCountAt + kCountBytes;
    if (akm && *akm >= 1 && suitesFit(*element, firstAkm, *akm)) {
        types.keyManagement = (*element)[firstAkm + kSuiteType];
    }
    return types;
}

WpaSuiteTypes rsnSuiteTypes(std::span<const std::uint8_t> elementArea) {
    WpaSuiteTypes types;
    const auto bytes = findRsnElement(elementArea);
    const auto element = bytes ? RsnElement::parse(*bytes) : std::nullopt;
    if (!element) {
        return types;
    }
    types.seen = true;
    const int pairwise = element->preferredPairwise() != 0 ? element->preferredPairwise()
                                                           : element->pairwiseCiphers.front();
    types.pairwise = pairwise != 0 ? WpaElement::suiteTypeOfCipher(pairwise) : kUnknownSuite;
    const auto known = std::find_if(element->keyManagement.begin(), element->keyManagement.end(),
                                    [](std::uint8_t suite) {
                                        return suite == RsnElement::kKeyManagement8021X ||
                                               suite == RsnElement::kKeyManagementPsk;
                                    });
    types.keyManagement =
        known != element->keyManagement.end() ? *known : element->keyManagement.front();
    return types;
}

}  // namespace rizorivu
