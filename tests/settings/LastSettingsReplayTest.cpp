#include "settings/LastSettingsReplay.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "settings/HexText.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu {
namespace {

using testing::AdapterTestBed;

class LastSettingsReplayTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bed.open(testing::kK540)); }

    void toAccessPoint() {
        ASSERT_EQ(bed.library->SetWL_OperationMode_STA_AP(&bed.adapter, 1), 0);
        bed.mode.set(OperatingMode::kAccessPoint);
    }
    std::string section(std::string_view name) {
        return bed.last.lastSettingText(bed.mode.get(), name);
    }
    std::vector<std::uint8_t> stationMacs() {
        std::array<std::uint8_t, adapterbuf::kStationListBytes> list{};
        EXPECT_NE(bed.library->WL_RetrieveStationList(&bed.adapter, list.data(),
                                                      static_cast<int>(list.size())),
                  -1);
        std::vector<std::uint8_t> macs;
        for (std::size_t n = 0; n < 16; ++n) {
            if (list[n * 7] != 0) {
                macs.insert(macs.end(), list.begin() + static_cast<long>(n * 7 + 1),
                            list.begin() + static_cast<long>(n * 7 + 7));
            }
        }
        return macs;
    }
    std::string defaultKeyText(std::size_t bytes) {
        const auto key = LastSettings::defaultWepKey();
        return BytesToHexText(std::span(key).first(bytes));
    }

    AdapterTestBed bed{testing::settingsWorld()};
    LastSettingsReplay& replay = bed.replay;
};

TEST_F(LastSettingsReplayTest, EmptyStationSectionReplaysTheDefaults) {
    replay.replayLastSettings();
    const std::map<std::string, std::string> expected{{"NetworkType", "1"},
                                                      {"AuthenticationMode", "2"},
                                                      {"WEPKeyLength", "64"},
                                                      {"WEPDefaultKeyId", "0"},
                                                      {"WEPStatus", "1"},
                                                      {"SSID", ""},
                                                      {"PreambleMode", "2"},
                                                      {"FragmentationThreshold", "2346"},
                                                      {"RTSThreshold", "2347"},
                                                      {"PowerSaveMode", "0"},
                                                      {"MultiDomainCapability", "0"}};
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(section(name), value) << name;
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(section("WEPKey64_" + std::to_string(i)), defaultKeyText(5));
    }
    // An infrastructure station leaves the channel to the access point.
    EXPECT_EQ(section("Channel"), "");
    // The region the adapter reports after region 0 was set, with its channel list.
    const int region = bed.library->QueryWL_OperationRegionCode(&bed.adapter);
    EXPECT_EQ(section("OperationRegion"), std::to_string(region));
    // Last, the adapter's own supported rates become the desired rates.
    std::array<std::uint8_t, 16> supported{};
    ASSERT_NE(bed.library->QueryWL_SupportedRate(&bed.adapter, supported), -1);
    EXPECT_EQ(section("DesiredRate"), BytesToHexText(supported));
    EXPECT_EQ(bed.wpa.starts, 0);
    EXPECT_EQ(bed.library->QueryWL_AuthenticationMode(&bed.adapter), 2);
    EXPECT_EQ(bed.library->QueryWL_WEPStatus(&bed.adapter), 1);
}

TEST_F(LastSettingsReplayTest, EmptyAccessPointSectionReplaysTheDefaults) {
    toAccessPoint();
    replay.replayLastSettings();
    const std::map<std::string, std::string> expected{
        {"SSID", "WLAN_AP"},   {"AuthenticationMode", "0"}, {"Channel", "6"},
        {"HideSSID", "0"},     {"MACFilterMode", "0"},      {"BasicRate", "1"},
        {"TxPowerLevel", "0"}, {"PreambleMode", "0"},       {"WEPStatus", "1"}};
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(section(name), value) << name;
    }
    for (int n = 0; n < 16; ++n) {
        EXPECT_EQ(section("MACFilterAddr" + std::to_string(n)), "00 00 00 00 00 00");
    }
    EXPECT_EQ(section("NetworkType"), "");  // a station value
    EXPECT_EQ(section("PowerSaveMode"), "");
    EXPECT_EQ(section("DesiredRate"), "");
    EXPECT_EQ(bed.station("SSID"), "");  // the station's section is untouched
    std::array<std::uint8_t, 32> ssid{};
    ASSERT_EQ(bed.library->QueryWL_SSID(&bed.adapter, ssid), 7);
    EXPECT_EQ(std::string(ssid.begin(), ssid.begin() + 7), "WLAN_AP");
}

struct DefaultCase {
    int mode;
    const char* name;
    const char* stored;
    const char* replayed;
};

void PrintTo(const DefaultCase& c, std::ostream* os) {
    *os << (c.mode == 0 ? "station " : "access point ") << c.name << "=" << c.stored;
}

class ReplayDefaultsTest : public LastSettingsReplayTest,
                           public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(ReplayDefaultsTest, UnusableValueBecomesTheDefault) {
    const DefaultCase& c = GetParam();
    if (c.mode == OperatingMode::kAccessPoint) {
        toAccessPoint();
    }
    bed.last.writeLastSetting(c.mode, c.name, c.stored);
    replay.replayLastSettings();
    EXPECT_EQ(section(c.name), c.replayed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplayDefaultsTest,
    ::testing::Values(
        DefaultCase{0, "NetworkType", "9", "1"}, DefaultCase{0, "NetworkType", "junk", "0"},
        DefaultCase{0, "AuthenticationMode", "8", "2"},
        DefaultCase{0, "AuthenticationMode", "6", "6"},
        DefaultCase{0, "AuthenticationMode", "7", "7"},
        DefaultCase{0, "AuthenticationMode", "1", "1"},
        DefaultCase{1, "AuthenticationMode", "6", "0"},
        DefaultCase{1, "AuthenticationMode", "2", "0"},
        DefaultCase{1, "AuthenticationMode", "1", "1"}, DefaultCase{1, "Channel", "100", "6"},
        DefaultCase{1, "Channel", "-3", "6"}, DefaultCase{0, "WEPKeyLength", "100", "64"},
        DefaultCase{0, "WEPKeyLength", "512", "64"}, DefaultCase{0, "WEPKeyLength", "256", "256"},
        DefaultCase{0, "WEPDefaultKeyId", "4", "0"}, DefaultCase{0, "WEPDefaultKeyId", "3", "3"},
        DefaultCase{0, "WEPStatus", "8", "1"}, DefaultCase{0, "WEPStatus", "0", "0"},
        DefaultCase{1, "HideSSID", "2", "0"}, DefaultCase{1, "HideSSID", "1", "1"},
        DefaultCase{1, "MACFilterMode", "3", "0"}, DefaultCase{1, "MACFilterMode", "2", "2"},
        DefaultCase{1, "BasicRate", "4", "1"}, DefaultCase{1, "BasicRate", "3", "3"},
        DefaultCase{1, "TxPowerLevel", "-1", "0"}, DefaultCase{1, "TxPowerLevel", "3", "3"},
        DefaultCase{1, "PreambleMode", "3", "0"}, DefaultCase{1, "PreambleMode", "1", "1"},
        DefaultCase{0, "PreambleMode", "0", "2"},
        DefaultCase{0, "FragmentationThreshold", "255", "2346"},
        DefaultCase{0, "FragmentationThreshold", "2345", "2345"},
        DefaultCase{0, "RTSThreshold", "2347", "2347"}, DefaultCase{0, "RTSThreshold", "0", "0"},
        DefaultCase{0, "PowerSaveMode", "3", "0"}, DefaultCase{0, "PowerSaveMode", "2", "2"},
        DefaultCase{0, "MultiDomainCapability", "2", "0"},
        DefaultCase{0, "MultiDomainCapability", "1", "1"}));

TEST_F(LastSettingsReplayTest, AdHocStationGetsItsChannelEvenZero) {
    bed.last.writeLastSetting(0, "NetworkType", "0");
    bed.last.writeLastSetting(0, "Channel", "11");
    replay.replayLastSettings();
    EXPECT_EQ(bed.library->QueryWL_Channel(&bed.adapter), 11);

    // Channel 0 is passed on as 0 (the adapter decides), but a profile takes 6 for it.
    bed.last.writeLastSetting(0, "Channel", "0");
    replay.replayLastSettings();
    SettingRecord record;
    replay.fillRecordFromLastSettings(record);
    EXPECT_EQ(record.channel, 6);
}

TEST_F(LastSettingsReplayTest, LongSsidIsCutTo32Characters) {
    bed.last.writeLastSetting(0, "SSID", std::string(40, 's'));
    replay.replayLastSettings();
    EXPECT_EQ(section("SSID"), std::string(32, 's'));
}

TEST_F(LastSettingsReplayTest, StoredSsidJoinsTheNetwork) {
    bed.last.writeLastSetting(0, "SSID", "Home");
    replay.replayLastSettings();
    bed.clock.advance(3000);
    EXPECT_EQ(bed.library->QueryWL_ConnectState(&bed.adapter), 0);
    EXPECT_EQ(section("SSID"), "Home");
}

TEST_F(LastSettingsReplayTest, StoredWepKeysAreInstalledWithTheirTransmitKey) {
    bed.last.writeLastSetting(0, "WEPKeyLength", "64");
    bed.last.writeLastSetting(0, "WEPDefaultKeyId", "1");
    bed.last.writeLastSetting(0, "WEPKey64_1", "01 02 03 04 05");
    bed.last.writeLastSetting(0, "WEPStatus", "0");
    bed.last.writeLastSetting(0, "AuthenticationMode", "0");
    bed.last.writeLastSetting(0, "SSID", "Wep");
    replay.replayLastSettings();
    bed.clock.advance(3000);
    EXPECT_EQ(bed.library->QueryWL_ConnectState(&bed.adapter), 0);
    EXPECT_EQ(section("WEPKey64_1"), "01 02 03 04 05");
    EXPECT_EQ(section("WEPKey64_0"), defaultKeyText(5));
}

TEST_F(LastSettingsReplayTest, FilterAddressWithAnyNonZeroByteIsInUse) {
    toAccessPoint();
    bed.last.writeLastSetting(1, "MACFilterAddr5", "00 00 00 00 FF 01");
    bed.last.writeLastSetting(1, "MACFilterMode", "2");  // deny the listed addresses
    replay.replayLastSettings();
    bed.clock.advance(5000);
    const std::vector<std::uint8_t> macs = stationMacs();
    const std::vector<std::uint8_t> denied{0x00, 0x00, 0x00, 0x00, 0xFF, 0x01};
    EXPECT_EQ(std::search(macs.begin(), macs.end(), denied.begin(), denied.end()), macs.end());
    EXPECT_FALSE(macs.empty());  // the other client is still there
    EXPECT_EQ(section("MACFilterAddr5"), "00 00 00 00 FF 01");
}

TEST_F(LastSettingsReplayTest, WpaStationStartsTheWpaConnection) {
    for (const char* mode : {"3", "4", "5", "6", "7", "2", "8"}) {
        bed.last.writeLastSetting(0, "AuthenticationMode", mode);
        replay.replayLastSettings();
    }
    EXPECT_EQ(bed.wpa.starts, 5);
}

TEST_F(LastSettingsReplayTest, AccessPointNeverStartsWpa) {
    toAccessPoint();
    bed.last.writeLastSetting(1, "AuthenticationMode", "4");
    replay.replayLastSettings();
    EXPECT_EQ(bed.wpa.starts, 0);
}

TEST_F(LastSettingsReplayTest, StoredDesiredRatesAreDecoded) {
    bed.last.writeLastSetting(0, "DesiredRate", "  02 04 0B 16 ");
    replay.replayLastSettings();
    EXPECT_EQ(section("DesiredRate"), "02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00");
}

TEST_F(LastSettingsReplayTest, RejectedValueKeepsItsLastSetting) {
    toAccessPoint();
    bed.last.writeLastSetting(1, "Channel", "14");  // outside the adapter's FCC channels
    replay.replayLastSettings();
    EXPECT_EQ(section("Channel"), "14");
    EXPECT_NE(bed.library->QueryWL_Channel(&bed.adapter), 14);
}

TEST_F(LastSettingsReplayTest, RecordIsFilledFromTheStationSection) {
    bed.last.writeLastSetting(0, "SSID", std::string(40, 'x'));
    bed.last.writeLastSetting(0, "WEPKeyLength", "128");
    bed.last.writeLastSetting(0, "WEPKey128_2", "01 02 03");
    bed.last.writeLastSetting(0, "AuthenticationMode", "4");
    bed.last.writeLastSetting(0, "Dot1xPassphrase", "correct horse");
    SettingRecord record;
    record.desiredRate = "kept";
    record.preambleMode = 1;
    replay.fillRecordFromLastSettings(record);
    EXPECT_EQ(record.ssid, std::string(32, 'x'));
    for (const auto& [stored, saved] : {std::pair{"7", 7}, std::pair{"8", 2}}) {
        bed.last.writeLastSetting(0, "AuthenticationMode", stored);
        SettingRecord wpa2;
        replay.fillRecordFromLastSettings(wpa2);
        EXPECT_EQ(wpa2.authenticationMode, saved) << stored;
    }
    EXPECT_EQ(record.networkType, 1);
    EXPECT_EQ(record.channel, 6);
    EXPECT_EQ(record.wepKeyLength, 128);
    EXPECT_EQ(record.wepKey[2], "01 02 03 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(record.wepKey[0], defaultKeyText(13));
    EXPECT_EQ(record.authenticationMode, 4);
    EXPECT_EQ(record.wepStatus, 1);
    EXPECT_EQ(record.fragmentationThreshold, 2346);
    EXPECT_EQ(record.rtsThreshold, 2347);
    EXPECT_EQ(record.powerSaveMode, 0);
    EXPECT_EQ(record.dot1xProtocol, -1);
    EXPECT_EQ(record.dot1xPassphrase, "correct horse");
    EXPECT_EQ(record.desiredRate, "kept");
    EXPECT_EQ(record.preambleMode, 1);
}

TEST_F(LastSettingsReplayTest, HandEditedKeyLengthLeavesProfileKeysEmpty) {
    bed.last.writeLastSetting(0, "WEPKeyLength", "100");
    SettingRecord record;
    replay.fillRecordFromLastSettings(record);
    EXPECT_EQ(record.wepKeyLength, 100);
    EXPECT_EQ(record.wepKey[0], "");
}

}  // namespace
}  // namespace rizorivu
