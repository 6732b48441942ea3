#include "settings/LastSettings.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/support/TestRegistry.h"

namespace rizorivu {
namespace {

class LastSettingsTest : public ::testing::Test {
protected:
    testing::TestRegistry reg;
    LastSettings& last = reg.lastSettings;
};

TEST_F(LastSettingsTest, EachModeHasItsOwnSection) {
    EXPECT_EQ(last.writeLastSetting(0, "SSID", "Home"), 0);
    EXPECT_EQ(last.writeLastSetting(1, "SSID", "WLAN_AP"), 0);
    EXPECT_EQ(reg.userString("LastSetting\\Station", "SSID"), "Home");
    EXPECT_EQ(reg.userString("LastSetting\\AccessPoint", "SSID"), "WLAN_AP");
    EXPECT_EQ(last.lastSettingText(0, "ssid"), "Home");
    EXPECT_EQ(last.lastSettingText(1, "SSID"), "WLAN_AP");
    EXPECT_EQ(last.writeLastSetting(2, "SSID", "x"), -1);
    EXPECT_EQ(last.writeLastSetting(-1, "SSID", "x"), -1);
    EXPECT_EQ(last.lastSettingText(2, "SSID"), "");
}

TEST_F(LastSettingsTest, IntegersFollowTheCurrentMode) {
    last.writeLastSetting(0, "Channel", "11");
    last.writeLastSetting(1, "Channel", "3");
    EXPECT_EQ(last.lastSettingInt("Channel"), 11);
    reg.mode.set(OperatingMode::kAccessPoint);
    EXPECT_EQ(last.lastSettingInt("Channel"), 3);
    EXPECT_EQ(last.lastSettingInt("Absent"), -1);
}

TEST_F(LastSettingsTest, EmptyTextIsStoredNotDeleted) {
    last.writeLastSetting(0, "Dot1xPassphrase", "secret");
    EXPECT_EQ(last.writeLastSetting(0, "Dot1xPassphrase", ""), 0);
    EXPECT_EQ(reg.userString("LastSetting\\Station", "Dot1xPassphrase"), "");
    EXPECT_EQ(last.lastSettingInt("Dot1xPassphrase"), -1);
}

struct DecimalCase {
    const char* text;
    std::int32_t value;
};

void PrintTo(const DecimalCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class DecimalTextTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalTextTest, ConvertsLikeTheCRuntime) {
    EXPECT_EQ(decimalTextToInt(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecimalTextTest,
    ::testing::Values(DecimalCase{"42", 42}, DecimalCase{"  -7", -7}, DecimalCase{"+5", 5},
                      DecimalCase{"12abc", 12}, DecimalCase{"abc", 0}, DecimalCase{"", 0},
                      DecimalCase{"-", 0}, DecimalCase{"2346", 2346},
                      DecimalCase{"99999999999", INT_MAX}, DecimalCase{"-99999999999", INT_MIN},
                      DecimalCase{"2147483648", INT_MAX}, DecimalCase{"-2147483648", INT_MIN}));

TEST_F(LastSettingsTest, StoredIntegerTextsConvertAsDecimal) {
    last.writeLastSetting(0, "RTSThreshold", " 2347 ");
    EXPECT_EQ(last.lastSettingInt("RTSThreshold"), 2347);
    last.writeLastSetting(0, "RTSThreshold", "junk");
    EXPECT_EQ(last.lastSettingInt("RTSThreshold"), 0);
}

TEST_F(LastSettingsTest, MissingKeysGiveTheBuiltInDefault) {
    const auto builtIn = LastSettings::defaultWepKey();
    for (int bits : {64, 128, 256}) {
        const std::size_t n = static_cast<std::size_t>(bits / 8 - 3);
        std::vector<std::uint8_t> buffer(29, 0xEE);
        ASSERT_EQ(last.readWepKeyBytes(bits, 3, buffer), 0);
        EXPECT_TRUE(
            std::equal(buffer.begin(), buffer.begin() + static_cast<long>(n), builtIn.begin()));
        EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<long>(n), buffer.end(),
                                [](std::uint8_t b) { return b == 0; }));
    }
    // The default is a real key, not zeros, and the same every time.
    EXPECT_NE(builtIn, decltype(builtIn){});
    EXPECT_EQ(builtIn, LastSettings::defaultWepKey());
}

TEST_F(LastSettingsTest, StoredKeysAreDecodedToTheirLength) {
    last.writeLastSetting(0, "WEPKey64_1", "11 22 33 44 55 66 77");  // longer than 5 bytes
    std::vector<std::uint8_t> buffer(13, 0xEE);
    ASSERT_EQ(last.readWepKeyBytes(64, 1, buffer), 0);
    EXPECT_EQ(buffer,
              (std::vector<std::uint8_t>{0x11, 0x22, 0x33, 0x44, 0x55, 0, 0, 0, 0, 0, 0, 0, 0}));
    // The access point's keys are its own.
    reg.mode.set(OperatingMode::kAccessPoint);
    ASSERT_EQ(last.readWepKeyBytes(64, 1, buffer), 0);
    EXPECT_EQ(buffer[0], LastSettings::defaultWepKey()[0]);
}

TEST_F(LastSettingsTest, OnlyTheFirst99CharactersOfAKeyTextCount) {
    // The pair "CD" straddles the cut: only its "C" is read, as a one-digit token.
    last.writeLastSetting(0, "WEPKey64_0", std::string(98, ' ') + "CD");
    std::vector<std::uint8_t> buffer(5);
    ASSERT_EQ(last.readWepKeyBytes(64, 0, buffer), 0);
    EXPECT_EQ(buffer, (std::vector<std::uint8_t>{0x0C, 0, 0, 0, 0}));
}

TEST_F(LastSettingsTest, ImpossibleRequestsLeaveTheBufferAlone) {
    std::vector<std::uint8_t> buffer(29, 0xEE);
    const std::vector<std::uint8_t> untouched = buffer;
    EXPECT_EQ(last.readWepKeyBytes(40, 0, buffer), -1);
    EXPECT_EQ(last.readWepKeyBytes(64, 4, buffer), -1);
    EXPECT_EQ(last.readWepKeyBytes(64, -1, buffer), -1);
    EXPECT_EQ(last.readWepKeyBytes(256, 0, std::span(buffer).first(28)), -1);
    EXPECT_EQ(buffer, untouched);
}

}  // namespace
}  // namespace rizorivu
