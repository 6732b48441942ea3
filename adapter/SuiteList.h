#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu {

// One 4-byte suite selector of a WPA or RSN element: organisation identifier and type.
using SuiteSelector = std::span<const std::uint8_t, 4>;

// Takes a little-endian suite count and that many suites off the front of `body`. Empty (and
// `body` then unspecified) when the count field is cut short, the count is zero or it claims
// more suites than `body` holds: the element comes from the air.
std::optional<std::vector<SuiteSelector>> takeSuiteList(std::span<const std::uint8_t>& body);

// Whether a suite carries the organisation identifier `oui`.
bool suiteHasOui(SuiteSelector suite, std::span<const std::uint8_t, 3> oui);

}  // namespace rizorivu
