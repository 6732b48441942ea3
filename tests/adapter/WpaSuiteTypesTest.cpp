#include "adapter/WpaSuiteTypes.h"

#include <gtest/gtest.h>

#include <vector>

namespace rizorivu {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A WPA element: version 1, TKIP group cipher, then the given counts and suite types. The
// element's length byte covers exactly what follows, so a count can claim more than is there.
Bytes wpaElement(int pairwiseCount, const Bytes& pairwise, int akmCount, const Bytes& akm) {
    Bytes e = {221, 0, 0x00, 0x50, 0xF2, 0x01, 1, 0, 0x00, 0x50, 0xF2, 2};
    e.push_back(static_cast<std::uint8_t>(pairwiseCount & 0xFF));
    e.push_back(static_cast<std::uint8_t>(pairwiseCount >> 8));
    for (const std::uint8_t t : pairwise) {
        e.insert(e.end(), {0x00, 0x50, 0xF2, t});
    }
    e.push_back(static_cast<std::uint8_t>(akmCount & 0xFF));
    e.push_back(static_cast<std::uint8_t>(akmCount >> 8));
    for (const std::uint8_t t : akm) {
        e.insert(e.end(), {0x00, 0x50, 0xF2, t});
    }
    e[1] = static_cast<std::uint8_t>(e.size() - 2);
    return e;
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

const Bytes kWmm = {221, 7, 0x00, 0x50, 0xF2, 0x02, 0x00, 0x01, 0x00};

struct TypesCase {
    const char* name;
    Bytes area;
    WpaSuiteTypes expected;
};

class WpaSuiteTypesTest : public ::testing::TestWithParam<TypesCase> {};

TEST_P(WpaSuiteTypesTest, ReadsTheFirstSuitesOfTheWpaElement) {
    const WpaSuiteTypes t = wpaSuiteTypes(GetParam().area);
    EXPECT_EQ(t.seen, GetParam().expected.seen);
    EXPECT_EQ(t.pairwise, GetParam().expected.pairwise);
    EXPECT_EQ(t.keyManagement, GetParam().expected.keyManagement);
}

INSTANTIATE_TEST_SUITE_P(
    WpaSuiteTypes, WpaSuiteTypesTest,
    ::testing::
        Values(
            TypesCase{"NoElements", {}, {}}, TypesCase{"WmmOnly", kWmm, {}},
            TypesCase{"PskTkip", wpaElement(1, {2}, 1, {2}), {true, 2, 2}},
            TypesCase{"FirstOfSeveral", wpaElement(2, {4, 2}, 2, {1, 2}), {true, 4, 1}},
            TypesCase{"NoSuites", wpaElement(0, {}, 0, {}), {true, 0, 0}},
            // WMM after the WPA element, as real beacons carry it, changes nothing.
            TypesCase{"WmmAfter", join({wpaElement(1, {4}, 1, {2}), kWmm}), {true, 4, 2}},
            TypesCase{"LaterWpaHolds",
                      join({wpaElement(1, {2}, 1, {1}), wpaElement(1, {4}, 1, {2})}),
                      {true, 4, 2}},
            // Counts that claim more suites than the element holds give no type from there on.
            TypesCase{"PairwiseCountLies", wpaElement(3, {4}, 1, {2}), {true, 0, 0}},
            TypesCase{"HugePairwiseCount", wpaElement(0xFFFF, {4}, 1, {2}), {true, 0, 0}},
            TypesCase{"AkmCountLies", wpaElement(1, {4}, 2, {2}), {true, 4, 0}},
            TypesCase{"CutBeforeCounts", {221, 6, 0x00, 0x50, 0xF2, 0x01, 1, 0}, {true, 0, 0}},
            TypesCase{
                "CutInsideAkmCount",
                {221, 15, 0x00, 0x50, 0xF2, 0x01, 1, 0, 0, 0x50, 0xF2, 2, 1, 0, 0, 0x50, 0xF2},
                {true, 0, 0}},
            // An element whose length runs past the area is not read at all.
            TypesCase{
                "RunsPastArea",
                [] {
                    Bytes e = wpaElement(1, {2}, 1, {2});
                    e.pop_back();
                    return e;
                }(),
                {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rizorivu
