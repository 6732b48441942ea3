#include "adapter/WpaElement.h"

#include <gtest/gtest.h>

#include <vector>

#include "adapter/KeyNegotiationContext.h"

namespace rizorivu {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct ElementCase {
    const char* name;
    Bytes element;
    bool valid;
    int group;
    std::vector<int> pairwise;
    Bytes keyManagement;
};

TEST(WpaElementTest, ReadsTheSuitesBoundsSafe) {
    const Bytes head = {221, 0, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00};
    auto with = [&](Bytes tail) {
        Bytes e = head;
        e.insert(e.end(), tail.begin(), tail.end());
        e[1] = static_cast<std::uint8_t>(e.size() - 2);
        return e;
    };
    const ElementCase cases[] = {
        {"built",
         WpaElement::build(ciphercode::kWep104, ciphercode::kCcmp, 2),
         true,
         ciphercode::kWep104,
         {ciphercode::kCcmp},
         {2}},
        {"defaults", with({}), true, ciphercode::kTkip, {ciphercode::kTkip}, {1}},
        {"group only",
         with({0x00, 0x50, 0xF2, 0x01}),
         true,
         ciphercode::kWep40,
         {ciphercode::kTkip},
         {1}},
        {"two pairwise, none",
         with({0x00, 0x50, 0xF2, 0x02, 0x02, 0x00, 0x00, 0x50, 0xF2, 0x02,
               0x00, 0x50, 0xF2, 0x04, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x00}),
         true,
         ciphercode::kTkip,
         {ciphercode::kTkip, ciphercode::kCcmp},
         {0}},
        {"pairwise count overruns",
         with({0x00, 0x50, 0xF2, 0x02, 0x05, 0x00, 0x00, 0x50, 0xF2, 0x02}), false},
        {"huge suite count", with({0x00, 0x50, 0xF2, 0x02, 0xFF, 0xFF}), false},
        {"zero suites", with({0x00, 0x50, 0xF2, 0x02, 0x00, 0x00}), false},
        {"ragged group suite", with({0x00, 0x50}), false},
        {"length byte overruns", Bytes{221, 40, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00}, false},
        {"WMM, not WPA", Bytes{221, 6, 0x00, 0x50, 0xF2, 0x02, 0x01, 0x00}, false},
        {"version 2", Bytes{221, 6, 0x00, 0x50, 0xF2, 0x01, 0x02, 0x00}, false},
        {"not vendor", Bytes{48, 6, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00}, false},
        {"empty", Bytes{}, false},
    };
    for (const auto& c : cases) {
        const auto parsed = WpaElement::parse(c.element);
        ASSERT_EQ(parsed.has_value(), c.valid) << c.name;
        if (c.valid) {
            EXPECT_EQ(parsed->groupCipher, c.group) << c.name;
            EXPECT_EQ(parsed->pairwiseCiphers, c.pairwise) << c.name;
            EXPECT_EQ(parsed->keyManagement, c.keyManagement) << c.name;
        }
    }
}

}  // namespace
}  // namespace rizorivu
