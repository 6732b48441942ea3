// Settings the adapter keeps and reports back, the ranges it refuses, and the regulatory
// region with its channel list.

#include <gtest/gtest.h>

#include <functional>

#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

using testing::SimTestBed;
using Setter = std::function<int(SimulatedAdapterLibrary&, AdapterRecord*, int)>;
using Query = std::function<int(SimulatedAdapterLibrary&, AdapterRecord*)>;

struct KeptCase {
    const char* name;
    Setter set;
    Query query;
    int accepted;
    std::vector<int> refused;
};

void PrintTo(const KeptCase& c, std::ostream* os) {
    *os << c.name;
}

class SimRejectedValueTest : public ::testing::TestWithParam<KeptCase> {};

TEST_P(SimRejectedValueTest, RefusedValueKeepsTheLastAcceptedOne) {
    const KeptCase& c = GetParam();
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    ASSERT_EQ(c.set(bed.lib(), &bed.record, c.accepted), 0);
    EXPECT_EQ(c.query(bed.lib(), &bed.record), c.accepted);
    for (const int bad : c.refused) {
        EXPECT_NE(c.set(bed.lib(), &bed.record, bad), 0) << bad;
        EXPECT_EQ(c.query(bed.lib(), &bed.record), c.accepted) << "after " << bad;
    }
    AdapterRecord closed;
    EXPECT_EQ(c.query(bed.lib(), &closed), -1);
    EXPECT_NE(c.set(bed.lib(), &closed, c.accepted), 0);
}

#define SIM_SETTER(op) \
    [](SimulatedAdapterLibrary& l, AdapterRecord* r, int v) { return l.op(r, v); }
#define SIM_QUERY(op) [](SimulatedAdapterLibrary& l, AdapterRecord* r) { return l.op(r); }

INSTANTIATE_TEST_SUITE_P(
    Sim, SimRejectedValueTest,
    ::testing::Values(
        KeptCase{"Fragmentation",
                 SIM_SETTER(SetWL_FragmentationThreshold),
                 SIM_QUERY(QueryWL_FragmentationThreshold),
                 1024,
                 {255, 2347, -1}},
        KeptCase{"FragmentationOff",
                 SIM_SETTER(SetWL_FragmentationThreshold),
                 SIM_QUERY(QueryWL_FragmentationThreshold),
                 2346,
                 {0}},
        KeptCase{"Rts",
                 SIM_SETTER(SetWL_RTS_CTS_Threshold),
                 SIM_QUERY(QueryWL_RTS_CTS_Threshold),
                 0,
                 {-1, 2348}},
        KeptCase{"RtsOff",
                 SIM_SETTER(SetWL_RTS_CTS_Threshold),
                 SIM_QUERY(QueryWL_RTS_CTS_Threshold),
                 2347,
                 {3000}},
        KeptCase{"PowerSave", SIM_SETTER(SetWL_PSMode), SIM_QUERY(QueryWL_PSMode), 2, {3, -1}},
        KeptCase{"Channel",
                 SIM_SETTER(SetWL_Channel),
                 SIM_QUERY(QueryWL_Channel),
                 11,
                 {0, 12, 14, 15, -6}},
        KeptCase{"Region",
                 SIM_SETTER(SetWL_OperationRegionCode),
                 SIM_QUERY(QueryWL_OperationRegionCode),
                 0x40,
                 {0, 0x41, 0xFF, -1}},
        KeptCase{"MultiDomain",
                 SIM_SETTER(SetWL_MultiDomainCapability),
                 SIM_QUERY(QueryWL_MultiDomainCapability),
                 1,
                 {2, -1}},
        KeptCase{"NetworkType",
                 SIM_SETTER(SetWL_NetworkType),
                 SIM_QUERY(QueryWL_NetworkType),
                 0,
                 {4, -1}},
        KeptCase{"Authentication",
                 SIM_SETTER(SetWL_AuthenticationMode),
                 SIM_QUERY(QueryWL_AuthenticationMode),
                 7,
                 {8, -1}},
        KeptCase{"Encryption",
                 SIM_SETTER(SetWL_WEPStatus),
                 SIM_QUERY(QueryWL_WEPStatus),
                 6,
                 {2, 3, 5, 7, 8, -1}},
        KeptCase{"OperationMode",
                 SIM_SETTER(SetWL_OperationMode_STA_AP),
                 SIM_QUERY(QueryWL_OperationMode_STA_AP),
                 1,
                 {2, -1}},
        KeptCase{"ZeroConfigStatus",
                 SIM_SETTER(SetWL_WZCStatus),
                 SIM_QUERY(QueryWL_CheckWZCStatus),
                 1,
                 {2, -1}},
        KeptCase{"PrivateOidSwitch",
                 SIM_SETTER(SetWL_QVUseQVXOidState),
                 SIM_QUERY(QueryWL_QVUseQVXOidState),
                 1,
                 {2, -1}}),
    [](const ::testing::TestParamInfo<KeptCase>& info) { return info.param.name; });

struct RangeCase {
    const char* name;
    Setter set;
    std::vector<int> accepted;
    std::vector<int> refused;
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.name;
}

class SimSettingRangeTest : public ::testing::TestWithParam<RangeCase> {};

// Settings without a query of their own.
TEST_P(SimSettingRangeTest, AcceptsItsRangeOnly) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    for (const int v : GetParam().accepted) {
        EXPECT_EQ(GetParam().set(bed.lib(), &bed.record, v), 0) << v;
    }
    for (const int v : GetParam().refused) {
        EXPECT_NE(GetParam().set(bed.lib(), &bed.record, v), 0) << v;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimSettingRangeTest,
    ::testing::Values(RangeCase{"Preamble", SIM_SETTER(SetWL_PreambleMode), {0, 1, 2}, {3, -1}},
                      RangeCase{"BasicRate", SIM_SETTER(SetWL_BasicRate), {0, 3}, {4, -1}},
                      RangeCase{"HideSsid", SIM_SETTER(SetWLAP_HideSSIDState), {0, 1}, {2, -1}},
                      RangeCase{"TxPower", SIM_SETTER(SetWLAP_TxPowerLevel), {0, 3}, {4, -1}},
                      RangeCase{"FilterMode", SIM_SETTER(SetWLAP_FilterMode), {0, 1, 2}, {3, -1}},
                      RangeCase{"RegionAndChannels",
                                SIM_SETTER(SetWL_RegionAndSupportChannel),
                                {0x10, 0x50},
                                {0, 0x41, -1}}),
    [](const ::testing::TestParamInfo<RangeCase>& info) { return info.param.name; });

#undef SIM_SETTER
#undef SIM_QUERY

class SimRegionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bed.open()); }

    std::vector<std::uint8_t> channels(int capacity = 100) {
        std::vector<std::uint8_t> out(static_cast<std::size_t>(capacity) + 1, 0xEE);
        int count = capacity;
        if (bed.lib().QueryWL_SupportChannel(&bed.record, out.data(), &count) != 0) {
            return {0xFF};
        }
        EXPECT_EQ(out[static_cast<std::size_t>(capacity)], 0xEE) << "wrote past the capacity";
        out.resize(static_cast<std::size_t>(count));
        return out;
    }

    SimTestBed bed;
};

TEST_F(SimRegionTest, StartsInTheFactoryRegionOfTheWorld) {
    EXPECT_EQ(bed.lib().QueryWL_OperationRegionCode(&bed.record), 0x10);
    EXPECT_EQ(channels(), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(bed.lib().QueryWL_MultiDomainCapability(&bed.record), 0);
}

TEST_F(SimRegionTest, RegionSetsItsChannelListFromTheTable) {
    ASSERT_EQ(bed.lib().SetWL_RegionAndSupportChannel(&bed.record, 0x31), 0);
    EXPECT_EQ(bed.lib().QueryWL_OperationRegionCode(&bed.record), 0x31);
    EXPECT_EQ(channels(), (std::vector<std::uint8_t>{10, 11}));
    EXPECT_EQ(channels(1), (std::vector<std::uint8_t>{10})) << "at most *count channels";
    EXPECT_EQ(channels(0), (std::vector<std::uint8_t>{}));
    // The channel setter follows the list.
    EXPECT_NE(bed.lib().SetWL_Channel(&bed.record, 6), 0);
    EXPECT_EQ(bed.lib().SetWL_Channel(&bed.record, 10), 0);

    ASSERT_EQ(bed.lib().SetWL_RegionAndSupportChannel(&bed.record, 0x40), 0);
    EXPECT_EQ(channels().size(), 14u);
}

TEST_F(SimRegionTest, RegionCodeAloneLeavesTheChannelList) {
    ASSERT_EQ(bed.lib().SetWL_OperationRegionCode(&bed.record, 0x31), 0);
    EXPECT_EQ(channels().size(), 11u);
}

TEST_F(SimRegionTest, ExplicitChannelListIsKeptAsGiven) {
    const std::uint8_t list[] = {11, 1, 6};
    ASSERT_EQ(bed.lib().SetWL_SupportChannel(&bed.record, list, 3), 0);
    EXPECT_EQ(channels(), (std::vector<std::uint8_t>{11, 1, 6}));
    EXPECT_EQ(bed.lib().QueryWL_OperationRegionCode(&bed.record), 0x10);

    const std::uint8_t duplicate[] = {1, 6, 1};
    const std::uint8_t zero[] = {0};
    const std::uint8_t fifteen[] = {15};
    std::uint8_t all[15];
    for (int i = 0; i < 15; ++i) {
        all[i] = static_cast<std::uint8_t>(i + 1);
    }
    EXPECT_NE(bed.lib().SetWL_SupportChannel(&bed.record, duplicate, 3), 0);
    EXPECT_NE(bed.lib().SetWL_SupportChannel(&bed.record, zero, 1), 0);
    EXPECT_NE(bed.lib().SetWL_SupportChannel(&bed.record, fifteen, 1), 0);
    EXPECT_NE(bed.lib().SetWL_SupportChannel(&bed.record, all, 15), 0);
    EXPECT_NE(bed.lib().SetWL_SupportChannel(&bed.record, list, -1), 0);
    EXPECT_NE(bed.lib().SetWL_SupportChannel(&bed.record, nullptr, 2), 0);
    EXPECT_EQ(channels(), (std::vector<std::uint8_t>{11, 1, 6}));
}

TEST_F(SimRegionTest, EmptyListMeansNoChannelUnlessInWorldMode) {
    ASSERT_EQ(bed.lib().SetWL_SupportChannel(&bed.record, nullptr, 0), 0);
    EXPECT_EQ(channels(), std::vector<std::uint8_t>{0xFF}) << "no channel to report";
    EXPECT_NE(bed.lib().SetWL_Channel(&bed.record, 1), 0);
    ASSERT_EQ(bed.lib().SetWL_MultiDomainCapability(&bed.record, 1), 0);
    EXPECT_EQ(channels().size(), 14u);
}

TEST_F(SimRegionTest, SupportChannelQueryChecksItsArguments) {
    std::uint8_t out[4];
    int negative = -1;
    int some = 4;
    EXPECT_EQ(bed.lib().QueryWL_SupportChannel(&bed.record, out, nullptr), -1);
    EXPECT_EQ(bed.lib().QueryWL_SupportChannel(&bed.record, out, &negative), -1);
    EXPECT_EQ(bed.lib().QueryWL_SupportChannel(&bed.record, nullptr, &some), -1);
}

TEST(SimRatesTest, DesiredRatesMustBeSupported) {
    SimTestBed bed(std::string(testing::kAdapterSection) + "Rates=1* 2* 5.5* 11*\n");
    ASSERT_TRUE(bed.open());
    std::array<std::uint8_t, 16> rates{};
    EXPECT_EQ(bed.lib().QueryWL_SupportedRate(&bed.record, rates), 0);
    EXPECT_EQ(rates, (std::array<std::uint8_t, 16>{0x82, 0x84, 0x8B, 0x96}));

    EXPECT_EQ(bed.lib().SetWL_DesiredRate(&bed.record, std::array<std::uint8_t, 16>{0x02, 0x16}),
              0);
    EXPECT_NE(bed.lib().SetWL_DesiredRate(&bed.record, std::array<std::uint8_t, 16>{0x02, 0x6C}), 0)
        << "54 Mbit/s on an 802.11b adapter";
    EXPECT_NE(bed.lib().SetWL_DesiredRate(&bed.record, std::array<std::uint8_t, 16>{}), 0);
}

TEST(SimStationModeTest, SettingsOfEachModeAreKeptApart) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    bed.setSsid("Open");
    bed.lib().SetWL_FragmentationThreshold(&bed.record, 512);
    ASSERT_EQ(bed.lib().SetWL_OperationMode_STA_AP(&bed.record, 1), 0);
    std::array<std::uint8_t, 32> ssid{};
    EXPECT_EQ(bed.lib().QueryWL_SSID(&bed.record, ssid), 0);
    EXPECT_EQ(bed.lib().QueryWL_FragmentationThreshold(&bed.record), 2346);
    bed.lib().SetWL_FragmentationThreshold(&bed.record, 1500);
    ASSERT_EQ(bed.lib().SetWL_OperationMode_STA_AP(&bed.record, 0), 0);
    EXPECT_EQ(bed.lib().QueryWL_SSID(&bed.record, ssid), 4);
    EXPECT_EQ(bed.lib().QueryWL_FragmentationThreshold(&bed.record), 512);
}

}  // namespace
}  // namespace rizorivu::sim
