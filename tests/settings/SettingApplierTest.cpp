#include "settings/SettingApplier.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "adapter/RegionTable.h"
#include "settings/HexText.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu {
namespace {

using testing::AdapterTestBed;

class SettingApplierTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bed.open(testing::kK540)); }

    std::vector<std::uint8_t> adapterChannels() {
        std::vector<std::uint8_t> channels(adapterbuf::kMaxChannels);
        int count = static_cast<int>(channels.size());
        EXPECT_EQ(bed.library->QueryWL_SupportChannel(&bed.adapter, channels.data(), &count), 0);
        channels.resize(static_cast<std::size_t>(count));
        return channels;
    }

    AdapterTestBed bed{testing::settingsWorld()};
    SettingApplier& applier = bed.applier;
};

struct RegionCase {
    int code;
    std::vector<std::uint8_t> channels;
};

class RegionChannelsTest : public SettingApplierTest,
                           public ::testing::WithParamInterface<RegionCase> {};

TEST_P(RegionChannelsTest, SetsTheRegionAndItsChannelList) {
    const RegionCase& c = GetParam();
    EXPECT_EQ(applier.applyRegionChannels(c.code), 0);
    EXPECT_EQ(bed.library->QueryWL_OperationRegionCode(&bed.adapter), c.code);
    EXPECT_EQ(adapterChannels(), c.channels);
    EXPECT_EQ(bed.station("OperationRegion"), std::to_string(c.code));
}

INSTANTIATE_TEST_SUITE_P(Table, RegionChannelsTest,
                         ::testing::Values(RegionCase{0x31, {10, 11}},
                                           RegionCase{0x32, {10, 11, 12, 13}},
                                           RegionCase{0x40, channelsOfMask(0x3FFF)},
                                           RegionCase{0x50, {3, 4, 5, 6, 7, 8, 9}}),
                         [](const auto& info) { return std::to_string(info.param.code); });

TEST_F(SettingApplierTest, UnknownRegionChangesNothing) {
    ASSERT_EQ(applier.applyRegionChannels(0x30), 0);
    EXPECT_EQ(applier.applyRegionChannels(0x41), -1);
    EXPECT_EQ(bed.library->QueryWL_OperationRegionCode(&bed.adapter), 0x30);
    EXPECT_EQ(adapterChannels().size(), 13u);
    EXPECT_EQ(bed.station("OperationRegion"), "48");
}

TEST_F(SettingApplierTest, RegionNeedsAnAdapterThatOpens) {
    AdapterRecord other;
    copyField(other.name, "\\DEVICE\\NOWHERE");
    SettingApplier elsewhere(*bed.library, other, bed.last, bed.clock, bed.wpa);
    EXPECT_EQ(elsewhere.applyRegionChannels(0x31), -1);
    EXPECT_EQ(bed.station("OperationRegion"), "");
}

TEST_F(SettingApplierTest, AcceptedKeyIsRecordedWithItsLengthAndTransmitFlag) {
    const std::array<std::uint8_t, 13> key{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    bed.last.writeLastSetting(0, "WEPDefaultKeyId", "0");
    ASSERT_EQ(applier.applyWepKey(2, 1, 0, key.data()), 0);
    EXPECT_EQ(bed.station("WEPKey128_2"), "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D");
    EXPECT_EQ(bed.station("WEPKeyLength"), "128");
    EXPECT_EQ(bed.station("WEPDefaultKeyId"), "0");

    ASSERT_EQ(applier.applyWepKey(2, 1, 1, key.data()), 0);
    EXPECT_EQ(bed.station("WEPDefaultKeyId"), "2");
    EXPECT_EQ(bed.station("WEPKey64_2"), "");  // each length keeps its own keys
}

TEST_F(SettingApplierTest, MacFilterListRecordsEverySlot) {
    ASSERT_EQ(bed.library->SetWL_OperationMode_STA_AP(&bed.adapter, 1), 0);
    bed.mode.set(OperatingMode::kAccessPoint);
    std::array<std::uint8_t, adapterbuf::kFilterListBytes> list{};
    const std::array<std::uint8_t, 7> entry{1, 0x00, 0x0A, 0x95, 0x9D, 0x68, 0x16};
    std::copy(entry.begin(), entry.end(), list.begin() + 3 * 7);
    ASSERT_EQ(applier.applyMacFilterList(list), 0);
    for (int n = 0; n < 16; ++n) {
        EXPECT_EQ(bed.accessPoint("MACFilterAddr" + std::to_string(n)),
                  n == 3 ? "00 0A 95 9D 68 16" : "00 00 00 00 00 00")
            << n;
    }
    EXPECT_EQ(bed.station("MACFilterAddr3"), "");
}

TEST_F(SettingApplierTest, DesiredRatesAreRecordedAsSixteenPairs) {
    std::array<std::uint8_t, 16> rates{0x02, 0x04, 0x0B, 0x16};
    ASSERT_EQ(applier.applyDesiredRate(rates), 0);
    EXPECT_EQ(bed.station("DesiredRate"), "02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00");
}

TEST_F(SettingApplierTest, RejectedValuesKeepTheirLastSetting) {
    ASSERT_EQ(applier.applyChannel(6), 0);
    EXPECT_EQ(applier.applyChannel(200), -1);
    EXPECT_EQ(bed.station("Channel"), "6");
    ASSERT_EQ(applier.applyFragmentationThreshold(2000), 0);
    EXPECT_EQ(applier.applyFragmentationThreshold(10), -1);
    EXPECT_EQ(bed.station("FragmentationThreshold"), "2000");
    EXPECT_EQ(applier.applyNetworkType(9), -1);
    EXPECT_EQ(bed.station("NetworkType"), "");
}

TEST_F(SettingApplierTest, SettingsGoToTheCurrentModesSection) {
    bed.mode.set(OperatingMode::kAccessPoint);
    ASSERT_EQ(bed.library->SetWL_OperationMode_STA_AP(&bed.adapter, 1), 0);
    ASSERT_EQ(applier.applyTxPowerLevel(2), 0);
    EXPECT_EQ(bed.accessPoint("TxPowerLevel"), "2");
    EXPECT_EQ(bed.station("TxPowerLevel"), "");
}

TEST_F(SettingApplierTest, SsidTextIsCutTo32CharactersAndRecorded) {
    const std::string ssid(40, 'n');
    ASSERT_EQ(applier.applySsidText(ssid), 0);
    EXPECT_EQ(bed.station("SSID"), std::string(32, 'n'));
    std::array<std::uint8_t, 32> seen{};
    EXPECT_EQ(bed.library->QueryWL_SSID(&bed.adapter, seen), 32);
}

TEST_F(SettingApplierTest, InterimSsidIsRecordedUntilTheRealOne) {
    applier.applyInterimSsid();
    const std::string interim = bed.station("SSID");
    EXPECT_FALSE(interim.empty());
    EXPECT_NE(interim, "Home");
    applier.applySsidText("Home");
    EXPECT_EQ(bed.station("SSID"), "Home");
}

SettingRecord homeRecord() {
    SettingRecord r;
    r.ssid = "  Home \t";
    r.channel = 6;
    r.networkType = 1;
    r.authenticationMode = 0;
    r.wepStatus = 1;
    r.wepKey = {"11 22 33 44 55", "", "", ""};
    r.wepDefaultKeyId = 0;
    r.wepKeyLength = 64;
    r.powerSaveMode = 1;
    r.fragmentationThreshold = 2000;
    r.rtsThreshold = 1000;
    r.dot1xProtocol = 1;
    r.dot1xUsername = "alice";
    return r;
}

TEST_F(SettingApplierTest, RecordIsAppliedAndRecorded) {
    SettingRecord r = homeRecord();
    ASSERT_EQ(applier.applyRecord(r), 0);
    EXPECT_EQ(r.ssid, "Home");  // trimmed in the record
    EXPECT_EQ(bed.station("SSID"), "Home");
    EXPECT_EQ(bed.station("PowerSaveMode"), "1");
    EXPECT_EQ(bed.station("FragmentationThreshold"), "2000");
    EXPECT_EQ(bed.station("RTSThreshold"), "1000");
    EXPECT_EQ(bed.station("WEPKey64_0"), "11 22 33 44 55");
    EXPECT_EQ(bed.station("WEPKey64_1"), "00 00 00 00 00");
    EXPECT_EQ(bed.station("Channel"), "6");
    EXPECT_EQ(bed.station("Dot1xProtocol"), "1");
    EXPECT_EQ(bed.station("Dot1xUsername"), "alice");
    EXPECT_EQ(bed.wpa.starts, 0);

    bed.clock.advance(3000);
    EXPECT_EQ(bed.library->QueryWL_ConnectState(&bed.adapter), 0);  // joined "Home"
}

TEST_F(SettingApplierTest, ImpossibleKeyLengthInstalls64BitKeys) {
    SettingRecord r = homeRecord();
    r.wepKeyLength = 40;
    applier.applyRecord(r);
    EXPECT_EQ(r.wepKeyLength, 64);
    EXPECT_EQ(bed.station("WEPKeyLength"), "64");
    EXPECT_EQ(bed.station("WEPKey64_0"), "11 22 33 44 55");
}

TEST_F(SettingApplierTest, WpaRecordStartsTheWpaConnection) {
    for (int mode : {3, 4, 5, 6, 7, 2, 8}) {
        SettingRecord r = homeRecord();
        r.authenticationMode = mode;
        applier.applyRecord(r);
    }
    EXPECT_EQ(bed.wpa.starts, 5);
}

TEST_F(SettingApplierTest, ReapplyingKeysUsesTheStoredLengthAndTransmitKey) {
    bed.last.writeLastSetting(0, "WEPKeyLength", "128");
    bed.last.writeLastSetting(0, "WEPDefaultKeyId", "2");
    bed.last.writeLastSetting(0, "WEPKey128_1", "AA BB CC DD EE FF 00 11 22 33 44 55 66");
    applier.reapplyWepKeys(1, -1);
    EXPECT_EQ(bed.station("WEPKey128_1"), "AA BB CC DD EE FF 00 11 22 33 44 55 66");
    EXPECT_EQ(bed.station("WEPDefaultKeyId"), "2");
    EXPECT_EQ(bed.station("WEPStatus"), "0");
    EXPECT_EQ(bed.library->QueryWL_WEPStatus(&bed.adapter), 0);
    // Keys not stored come from the built-in default.
    const auto builtIn = LastSettings::defaultWepKey();
    EXPECT_EQ(bed.station("WEPKey128_0"), BytesToHexText(std::span(builtIn).first(13)));

    applier.reapplyWepKeys(0, 3);
    EXPECT_EQ(bed.station("WEPDefaultKeyId"), "3");
    EXPECT_EQ(bed.station("WEPStatus"), "1");
}

TEST_F(SettingApplierTest, ReapplyingWithNothingStoredUses64BitKeysAndKeyZero) {
    applier.reapplyWepKeys(1, -1);
    EXPECT_EQ(bed.station("WEPKeyLength"), "64");
    EXPECT_EQ(bed.station("WEPDefaultKeyId"), "0");
}

// The driver's key length codes against key bytes and stored bits; unknown codes and bit
// counts fall back to the 64-bit key.
struct KeyLengthCase {
    int code;
    int bytes;
    int bits;
};

class KeyLengthCodeTest : public ::testing::TestWithParam<KeyLengthCase> {};

TEST_P(KeyLengthCodeTest, MapsCodesToBytesAndBits) {
    EXPECT_EQ(SettingApplier::keyBytesOfLengthCode(GetParam().code), GetParam().bytes);
    EXPECT_EQ(SettingApplier::bitsOfLengthCode(GetParam().code), GetParam().bits);
    EXPECT_EQ(SettingApplier::bitsOfLengthCode(SettingApplier::lengthCodeOfBits(GetParam().bits)),
              GetParam().bits);
}

INSTANTIATE_TEST_SUITE_P(SettingApplier, KeyLengthCodeTest,
                         ::testing::Values(KeyLengthCase{0, 5, 64}, KeyLengthCase{1, 13, 128},
                                           KeyLengthCase{2, 29, 256}, KeyLengthCase{3, 5, 64},
                                           KeyLengthCase{-1, 5, 64}));

TEST(KeyLengthBitsTest, OtherBitCountsAreTheShortKey) {
    for (const int bits : {0, 40, 100, 152, 512}) {
        EXPECT_EQ(SettingApplier::lengthCodeOfBits(bits), 0) << bits;
    }
}

}  // namespace
}  // namespace rizorivu
