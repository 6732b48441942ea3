#include "adapter/SuiteList.h"

#include <algorithm>

namespace rizorivu {

namespace {

constexpr std::size_t kCountBytes = 2;
constexpr std::size_t kSuiteBytes = 4;

}  // namespace

std::optional<std::vector<SuiteSelector>> takeSuiteList(std::span<const std::uint8_t>& body) {
    if (body.size() < kCountBytes) {
        return std::nullopt;
    }
    const std::size_t count = static_cast<std::size_t>(body[0] | body[1] << 8);
    body = body.subspan(kCountBytes);
    if (count == 0 || count > body.size() / kSuiteBytes) {
        return std::nullopt;
    }
    std::vector<SuiteSelector> suites;
    suites.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        suites.emplace_back(body.subspan(kSuiteBytes * i).first<kSuiteBytes>());
    }
    body = body.subspan(kSuiteBytes * count);
    return suites;
}

bool suiteHasOui(SuiteSelector suite, std::span<const std::uint8_t, 3> oui) {
    return std::equal(oui.begin(), oui.end(), suite.begin());
}

}  // namespace rizorivu
