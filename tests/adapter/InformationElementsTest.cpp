#include "adapter/InformationElements.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rizorivu {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The walk over a bare element area, as a WPA exchange holds one apart from any record.
struct AreaCase {
    const char* name;
    Bytes area;
    std::vector<std::uint8_t> ids;
    std::size_t wpaAt;  // offset of the WPA element found, or npos
};

class InformationElementsAreaTest : public ::testing::TestWithParam<AreaCase> {};

TEST_P(InformationElementsAreaTest, WalksTheAreaAndFindsWpa) {
    const Bytes& area = GetParam().area;
    std::vector<std::uint8_t> ids;
    const std::uint8_t* next = area.data();
    for (const InformationElement& element : informationElements(area)) {
        EXPECT_EQ(element.bytes.data(), next);
        next = element.bytes.data() + element.bytes.size();
        ids.push_back(element.id);
    }
    EXPECT_LE(next, area.data() + area.size());
    EXPECT_EQ(ids, GetParam().ids);

    const auto wpa = findWpaElement(area);
    ASSERT_EQ(wpa.has_value(), GetParam().wpaAt != std::string::npos);
    if (wpa) {
        EXPECT_EQ(wpa->data(), area.data() + GetParam().wpaAt);
    }
}

constexpr std::size_t kNone = std::string::npos;

INSTANTIATE_TEST_SUITE_P(
    InformationElements, InformationElementsAreaTest,
    ::testing::Values(AreaCase{"Empty", {}, {}, kNone},
                      AreaCase{
                          "ExactFit", {0, 1, 'a', 221, 4, 0x00, 0x50, 0xF2, 0x01}, {0, 221}, 3},
                      AreaCase{"TrailingByte", {0, 1, 'a', 7}, {0}, kNone},
                      AreaCase{"Overrun", {0, 1, 'a', 221, 5, 0x00, 0x50, 0xF2, 0x01}, {0}, kNone},
                      // A vendor element of the same organisation but another type is not WPA.
                      AreaCase{"OtherType",
                               {221, 4, 0x00, 0x50, 0xF2, 0x02, 221, 4, 0x00, 0x50, 0xF2, 0x01},
                               {221, 221},
                               6},
                      // Of two WPA elements the later one holds; a WMM element after it does not.
                      AreaCase{"LaterWpaThenWmm",
                               {221,  4,    0x00, 0x50, 0xF2, 0x01, 221,  5,    0x00, 0x50,
                                0xF2, 0x01, 9,    221,  5,    0x00, 0x50, 0xF2, 0x02, 1},
                               {221, 221, 221},
                               6}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rizorivu
