#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu {

// One information element: `bytes` is the whole element (id, length, data), `data` its body.
// Both borrow the bytes they were found in.
struct InformationElement {
    std::uint8_t id = 0;
    std::span<const std::uint8_t> data;
    std::span<const std::uint8_t> bytes;
};

// The elements of an element area, in order. The area's bytes come from the air through the
// driver, so an element whose data would reach past the area's end is dropped together with
// everything after it, as is a single byte left at the end.
std::vector<InformationElement> informationElements(std::span<const std::uint8_t> area);

// The WPA element, whole: the last vendor element (221) whose data starts with the WPA
// identifier 00 50 F2 01. Other vendor elements (WMM and the like, which real beacons carry
// after the WPA element) never count; of two WPA elements the later one holds.
std::optional<std::span<const std::uint8_t>> findWpaElement(std::span<const std::uint8_t> area);

// The RSN element (48, WPA2), whole: the first one. A beacon carries one; whether it is well
// formed is RsnElement's to say.
std::optional<std::span<const std::uint8_t>> findRsnElement(std::span<const std::uint8_t> area);

}  // namespace rizorivu
