#include "adapter/RsnElement.h"

#include <gtest/gtest.h>

#include <vector>

#include "adapter/KeyNegotiationContext.h"
#include "tests/support/HexBytes.h"

namespace rizorivu {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::hexBytes;

struct RsnCase {
    const char* name;
    const char* body;  // after id and length, which are added
    bool valid;
    int group = 0;
    std::vector<int> pairwise = {};
    Bytes keyManagement = {};
    std::uint16_t capabilities = 0;
    std::size_t pmkids = 0;
};

Bytes element(const char* body) {
    Bytes e = hexBytes(body);
    e.insert(e.begin(), {48, static_cast<std::uint8_t>(e.size())});
    return e;
}

TEST(RsnElementTest, ReadsTheSuitesBoundsSafe) {
    constexpr int ccmp = ciphercode::kCcmp;
    constexpr int tkip = ciphercode::kTkip;
    const RsnCase cases[] = {
        {"a home router's",
         "0100 000fac04 0100 000fac04 0100 000fac02 0c00",
         true,
         ccmp,
         {ccmp},
         {2},
         0x000C},
        {"version only: every default", "0100", true, ccmp, {ccmp}, {1}},
        {"group only", "0100 000fac02", true, tkip, {ccmp}, {1}},
        {"no key management list",
         "0100 000fac02 0200 000fac02 000fac04",
         true,
         tkip,
         {tkip, ccmp},
         {1}},
        {"WPA2/WPA3 transition, vendor suite",
         "0100 000fac04 0100 000fac04 0300 000fac08 "
         "000fac02 00904c01 8000",
         true,
         ccmp,
         {ccmp},
         {8, 2, 0xFF},
         0x0080},
        {"two PMKIDs",
         "0100 000fac04 0100 000fac04 0100 000fac01 0000 0200 "
         "00112233445566778899aabbccddeeff 00112233445566778899aabbccddeeff",
         true,
         ccmp,
         {ccmp},
         {1},
         0,
         2},
        {"management group cipher after the PMKIDs",
         "0100 000fac04 0100 000fac04 0100 "
         "000fac02 c000 0000 000fac06",
         true,
         ccmp,
         {ccmp},
         {2},
         0x00C0},
        {"unknown cipher suites", "0100 00904c02 0100 000fac08 0100 000fac02", true, 0, {0}, {2}},
        {"unknown version", "0200 000fac04 0100 000fac04 0100 000fac02", false},
        {"version cut short", "01", false},
        {"ragged group suite", "0100 000f", false},
        {"pairwise count overruns", "0100 000fac04 0300 000fac04", false},
        {"huge pairwise count", "0100 000fac04 ffff 000fac04", false},
        {"zero pairwise suites", "0100 000fac04 0000 0100 000fac02", false},
        {"key management count overruns", "0100 000fac04 0100 000fac04 0200 000fac02", false},
        {"zero key management suites", "0100 000fac04 0100 000fac04 0000", false},
        {"capabilities cut short", "0100 000fac04 0100 000fac04 0100 000fac02 0c", false},
        {"PMKID count cut short", "0100 000fac04 0100 000fac04 0100 000fac02 0000 01", false},
        {"PMKID count overruns",
         "0100 000fac04 0100 000fac04 0100 000fac02 0000 0100 "
         "00112233",
         false},
    };
    for (const auto& c : cases) {
        const auto parsed = RsnElement::parse(element(c.body));
        ASSERT_EQ(parsed.has_value(), c.valid) << c.name;
        if (c.valid) {
            EXPECT_EQ(parsed->groupCipher, c.group) << c.name;
            EXPECT_EQ(parsed->pairwiseCiphers, c.pairwise) << c.name;
            EXPECT_EQ(parsed->keyManagement, c.keyManagement) << c.name;
            EXPECT_EQ(parsed->capabilities, c.capabilities) << c.name;
            EXPECT_EQ(parsed->pmkidCount, c.pmkids) << c.name;
        }
    }
}

TEST(RsnElementTest, RefusesWhatIsNoWholeRsnElement) {
    const Bytes good = element("0100 000fac04 0100 000fac04 0100 000fac02");
    Bytes lying = good;
    lying[1] = static_cast<std::uint8_t>(good.size());  // one byte more than there is
    Bytes wpa = good;
    wpa[0] = 221;
    for (const Bytes& bytes : {lying, wpa, Bytes{48}, Bytes{}}) {
        EXPECT_FALSE(RsnElement::parse(bytes).has_value());
    }
    // Bytes after the element's stated length are not part of it.
    Bytes trailing = good;
    trailing.push_back(0x01);
    EXPECT_TRUE(RsnElement::parse(trailing).has_value());
}

TEST(RsnElementTest, BuildsWhatItReadsBack) {
    const Bytes built = RsnElement::build(ciphercode::kTkip, ciphercode::kCcmp,
                                          RsnElement::kKeyManagementPsk, 0x0001);
    EXPECT_EQ(built, element("0100 000fac02 0100 000fac04 0100 000fac02 0100"));
    const auto parsed = RsnElement::parse(built);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->offersKeyManagement(RsnElement::kKeyManagementPsk));
    EXPECT_FALSE(parsed->offersKeyManagement(RsnElement::kKeyManagement8021X));
}

TEST(RsnElementTest, PrefersCcmpThenTkip) {
    const auto both = RsnElement::parse(element("0100 000fac02 0200 000fac02 000fac04"));
    const auto tkip = RsnElement::parse(element("0100 000fac02 0100 000fac02"));
    const auto neither = RsnElement::parse(element("0100 000fac02 0100 000fac05"));
    ASSERT_TRUE(both && tkip && neither);
    EXPECT_EQ(both->preferredPairwise(), ciphercode::kCcmp);
    EXPECT_EQ(tkip->preferredPairwise(), ciphercode::kTkip);
    EXPECT_EQ(neither->preferredPairwise(), 0);
}

}  // namespace
}  // namespace rizorivu
