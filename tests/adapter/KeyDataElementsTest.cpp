#include "adapter/KeyDataElements.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/support/HexBytes.h"

namespace rizorivu {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::hexBytes;

constexpr const char* kRsn = "3014 0100 000fac04 0100 000fac04 0100 000fac02 0000";
constexpr const char* kGroupKey16 = "dd16 000fac01 0100 000102030405060708090a0b0c0d0e0f";

struct KeyDataCase {
    const char* name;
    std::string keyData;
    bool valid;
    std::size_t rsnElements = 0;
    int groupKeyBytes = -1;  // -1: no GTK KDE
    int index = 0;
};

TEST(KeyDataElementsTest, WalksElementsAndKdesWithoutTrustingALength) {
    const std::string rsn = kRsn;
    const std::string gtk = kGroupKey16;
    const KeyDataCase cases[] = {
        {"message 3 of a home router", rsn + gtk + "dd00", true, 1, 16, 1},
        {"padding of a single 0xDD", rsn + gtk + "dd", true, 1, 16, 1},
        {"padding of 0xDD and zeros", rsn + gtk + "dd000000000000", true, 1, 16, 1},
        {"a second RSN element", rsn + rsn + gtk, true, 2, 16, 1},
        {"PMKID and unknown KDEs skipped",
         "dd14000fac04 00112233445566778899aabbccddeeff dd05000fac0e07 dd0400904c33 " + rsn + gtk,
         true, 1, 16, 1},
        {"other elements skipped", "dd03aabbcc 7f0104 " + rsn + gtk, true, 1, 16, 1},
        {"TKIP group key, index 2, not for transmission",
         "dd26000fac01 0200 " + std::string(64, '7'), true, 0, 32, 2},
        {"nothing but padding", "dd0000", true, 0, -1},
        {"empty", "", true, 0, -1},
        {"element runs past the end", rsn + "dd20000fac01 0100 0001020304", false},
        {"a lone header byte", rsn + "30", false},
        {"GTK KDE without its key", "dd06000fac01 0100", false},
        {"GTK KDE without its header", "dd05000fac01 01", false},
        {"GTK longer than any group key", "dd27000fac01 0100 " + std::string(66, '1'), false},
        {"two GTK KDEs", gtk + gtk, false},
        {"0xDD followed by more than zeros", rsn + "dd0001", false},
    };
    for (const auto& c : cases) {
        const Bytes bytes = hexBytes(c.keyData);
        const auto parsed = KeyDataElements::parse(bytes);
        ASSERT_EQ(parsed.has_value(), c.valid) << c.name;
        if (!c.valid) {
            continue;
        }
        EXPECT_EQ(parsed->rsnElements.size(), c.rsnElements) << c.name;
        for (const auto element : parsed->rsnElements) {
            EXPECT_EQ(Bytes(element.begin(), element.end()), hexBytes(kRsn)) << c.name;
        }
        ASSERT_EQ(parsed->groupKey.has_value(), c.groupKeyBytes >= 0) << c.name;
        if (parsed->groupKey) {
            EXPECT_EQ(parsed->groupKey->key.size(), static_cast<std::size_t>(c.groupKeyBytes))
                << c.name;
            EXPECT_EQ(parsed->groupKey->index, c.index) << c.name;
        }
    }
}

TEST(KeyDataElementsTest, GroupKeyKdeCarriesIndexTransmitBitAndKey) {
    const Bytes key = hexBytes("000102030405060708090a0b0c0d0e0f");
    EXPECT_EQ(groupKeyKde(1, true, key),
              hexBytes("dd16 000fac01 0500 000102030405060708090a0b0c0d0e0f"));
    const Bytes kde = groupKeyKde(3, false, key);
    const auto parsed = KeyDataElements::parse(kde);
    ASSERT_TRUE(parsed && parsed->groupKey);
    EXPECT_EQ(parsed->groupKey->index, 3);
    EXPECT_FALSE(parsed->groupKey->transmit);
    EXPECT_EQ(Bytes(parsed->groupKey->key.begin(), parsed->groupKey->key.end()), key);

    std::array<std::uint8_t, 16> pmkid{};
    pmkid.fill(0x42);
    const auto onlyPmkid = KeyDataElements::parse(pmkidKde(pmkid));
    ASSERT_TRUE(onlyPmkid);
    EXPECT_FALSE(onlyPmkid->groupKey);
    EXPECT_TRUE(onlyPmkid->rsnElements.empty());
}

}  // namespace
}  // namespace rizorivu
