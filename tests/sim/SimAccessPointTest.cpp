// Access-point mode: who joins, the MAC filter's three modes, and the frame counters.

#include <gtest/gtest.h>

#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

using testing::mac;
using testing::SimTestBed;

using Address = std::vector<std::uint8_t>;
const Address kA = mac({2, 0xC0, 0, 0, 0, 0x0A});
const Address kB = mac({2, 0xC0, 0, 0, 0, 0x0B});
const Address kC = mac({2, 0xC0, 0, 0, 0, 0x0C});  // looks for "Lab AP" only

std::vector<std::uint8_t> filterList(const std::vector<Address>& listed) {
    std::vector<std::uint8_t> list(112, 0);
    // Slot 3 onwards, so that the slot of an entry does not matter.
    std::size_t slot = 3;
    for (const Address& a : listed) {
        list[slot * 7] = 1;
        std::copy(a.begin(), a.end(), list.begin() + static_cast<std::ptrdiff_t>(slot * 7 + 1));
        ++slot;
    }
    return list;
}

class SimAccessPointTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bed.open());
        ASSERT_EQ(bed.lib().SetWL_OperationMode_STA_AP(&bed.record, 1), 0);
        ASSERT_EQ(bed.lib().SetWL_Channel(&bed.record, 6), 0);
    }

    std::vector<Address> stations() {
        std::vector<std::uint8_t> buffer(112, 0xEE);
        if (bed.lib().WL_RetrieveStationList(&bed.record, buffer.data(), 112) != 0) {
            ADD_FAILURE() << "station list refused";
            return {};
        }
        std::vector<Address> out;
        for (std::size_t slot = 0; slot < 16; ++slot) {
            const std::uint8_t* entry = buffer.data() + slot * 7;
            EXPECT_LE(entry[0], 1) << "slot " << slot;
            if (entry[0] != 0) {
                out.emplace_back(entry + 1, entry + 7);
            }
        }
        return out;
    }

    SimTestBed bed;
};

TEST_F(SimAccessPointTest, StationsJoinOnceTheAccessPointRuns) {
    EXPECT_TRUE(stations().empty()) << "no SSID yet";
    EXPECT_EQ(bed.connectState(), 1);
    bed.setSsid("Lab AP");
    EXPECT_TRUE(stations().empty()) << "joining takes a moment";
    bed.settle();
    EXPECT_EQ(stations(), (std::vector<Address>{kA, kB, kC}));
    EXPECT_EQ(bed.connectState(), 0);
    EXPECT_EQ(bed.bssid(), mac({2, 0, 0, 0, 0, 1})) << "the access point's BSSID is its MAC";
    EXPECT_EQ(bed.lib().QueryWL_Channel(&bed.record), 6);
}

TEST_F(SimAccessPointTest, StationsLookForTheirSsid) {
    bed.setSsid("Other");
    bed.settle();
    EXPECT_EQ(stations(), (std::vector<Address>{kA, kB}));
    ASSERT_EQ(bed.lib().SetWLAP_HideSSIDState(&bed.record, 1), 0);
    bed.settle();
    EXPECT_TRUE(stations().empty()) << "nobody knows the hidden SSID";
    bed.setSsid("Lab AP");
    bed.settle();
    EXPECT_EQ(stations(), (std::vector<Address>{kC}));
}

struct FilterCase {
    const char* name;
    int mode;
    std::vector<Address> listed;
    std::vector<Address> joined;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

class SimMacFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(SimMacFilterTest, DecidesWhoJoins) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    ASSERT_EQ(bed.lib().SetWL_OperationMode_STA_AP(&bed.record, 1), 0);
    bed.setSsid("Lab AP");
    const auto list = filterList(GetParam().listed);
    ASSERT_EQ(bed.lib().SetWLAP_FilterList(&bed.record, list.data(), 112), 0);
    ASSERT_EQ(bed.lib().SetWLAP_FilterMode(&bed.record, GetParam().mode), 0);
    bed.settle();
    std::vector<std::uint8_t> buffer(112);
    ASSERT_EQ(bed.lib().WL_RetrieveStationList(&bed.record, buffer.data(), 112), 0);
    std::vector<Address> joined;
    for (std::size_t slot = 0; slot < 16; ++slot) {
        if (buffer[slot * 7] != 0) {
            joined.emplace_back(buffer.begin() + static_cast<std::ptrdiff_t>(slot * 7 + 1),
                                buffer.begin() + static_cast<std::ptrdiff_t>(slot * 7 + 7));
        }
    }
    EXPECT_EQ(joined, GetParam().joined);
}

INSTANTIATE_TEST_SUITE_P(Sim, SimMacFilterTest,
                         ::testing::Values(FilterCase{"OffAdmitsEverybody", 0, {kB}, {kA, kB, kC}},
                                           FilterCase{"AllowListed", 1, {kB, kC}, {kB, kC}},
                                           FilterCase{"AllowWithEmptyList", 1, {}, {}},
                                           FilterCase{"DenyListed", 2, {kB}, {kA, kC}},
                                           FilterCase{"DenyWithEmptyList", 2, {}, {kA, kB, kC}}),
                         [](const ::testing::TestParamInfo<FilterCase>& info) {
                             return info.param.name;
                         });

TEST_F(SimAccessPointTest, UnusedFilterEntriesDoNotCount) {
    bed.setSsid("Lab AP");
    auto list = filterList({kA, kB});
    list[3 * 7] = 0;  // kA's entry, its address still there
    ASSERT_EQ(bed.lib().SetWLAP_FilterList(&bed.record, list.data(), 112), 0);
    ASSERT_EQ(bed.lib().SetWLAP_FilterMode(&bed.record, 1), 0);
    bed.settle();
    EXPECT_EQ(stations(), (std::vector<Address>{kB}));
}

TEST_F(SimAccessPointTest, RefusesMalformedFilterLists) {
    bed.setSsid("Lab AP");
    const auto allow = filterList({kB});
    ASSERT_EQ(bed.lib().SetWLAP_FilterList(&bed.record, allow.data(), 112), 0);
    ASSERT_EQ(bed.lib().SetWLAP_FilterMode(&bed.record, 1), 0);
    auto badFlag = filterList({kA});
    badFlag[3 * 7] = 2;
    EXPECT_NE(bed.lib().SetWLAP_FilterList(&bed.record, badFlag.data(), 112), 0);
    EXPECT_NE(bed.lib().SetWLAP_FilterList(&bed.record, allow.data(), 111), 0);
    EXPECT_NE(bed.lib().SetWLAP_FilterList(&bed.record, nullptr, 112), 0);
    bed.settle();
    EXPECT_EQ(stations(), (std::vector<Address>{kB})) << "the accepted list still holds";
}

TEST_F(SimAccessPointTest, CountersMoveWithTheAssociatedStations) {
    bed.setSsid("Lab AP");
    bed.settle();
    FrameCounts start = bed.counts();
    bed.clock.advance(10'000);
    FrameCounts later = bed.counts();
    EXPECT_EQ(later.transmitted - start.transmitted,
              3u * 10u * AccessPointCell::kTxFramesPerStation);
    EXPECT_EQ(later.received - start.received, 3u * 10u * AccessPointCell::kRxFramesPerStation);

    const auto deny = filterList({kA, kB});
    bed.lib().SetWLAP_FilterList(&bed.record, deny.data(), 112);
    bed.lib().SetWLAP_FilterMode(&bed.record, 2);
    bed.settle();
    start = bed.counts();
    bed.clock.advance(10'000);
    later = bed.counts();
    EXPECT_EQ(later.transmitted - start.transmitted, 10u * AccessPointCell::kTxFramesPerStation);
}

TEST_F(SimAccessPointTest, OnlyAccessPointValuesAreAccepted) {
    EXPECT_NE(bed.lib().SetWL_AuthenticationMode(&bed.record, 4), 0);
    EXPECT_EQ(bed.lib().SetWL_AuthenticationMode(&bed.record, 1), 0);
    EXPECT_NE(bed.lib().SetWL_WEPStatus(&bed.record, 4), 0);
    EXPECT_EQ(bed.lib().SetWL_WEPStatus(&bed.record, 0), 0);
    EXPECT_NE(bed.lib().SetWL_NetworkType(&bed.record, 1), 0);
    EXPECT_NE(bed.lib().SetWL_PSMode(&bed.record, 1), 0);
    const auto bssid = mac({2, 0x10, 0, 0, 0, 1});
    EXPECT_NE(bed.lib().SetWL_BSSID(&bed.record, std::span<const std::uint8_t, 6>(bssid.data(), 6)),
              0);
    std::vector<std::uint8_t> small(111);
    EXPECT_EQ(bed.lib().WL_RetrieveStationList(&bed.record, small.data(), 111), -1);
}

TEST(SimOperationModeTest, StationListNeedsAccessPointMode) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    std::vector<std::uint8_t> buffer(112);
    EXPECT_EQ(bed.lib().WL_RetrieveStationList(&bed.record, buffer.data(), 112), -1);
}

TEST(SimOperationModeTest, AWorldCanForbidAccessPointMode) {
    SimTestBed bed(std::string(testing::kAdapterSection) + "AccessPoint=0\n");
    ASSERT_TRUE(bed.open());
    EXPECT_EQ(bed.lib().SetWL_OperationMode_STA_AP(&bed.record, 1), -1);
    EXPECT_EQ(bed.lib().QueryWL_OperationMode_STA_AP(&bed.record), 0);
    EXPECT_EQ(bed.lib().SetWL_OperationMode_STA_AP(&bed.record, 0), 0);
}

TEST(SimOperationModeTest, SwitchingToAccessPointDropsTheStationLink) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    bed.configure("Open", 1, 0, 1);
    bed.settle();
    ASSERT_EQ(bed.connectState(), 0);
    ASSERT_EQ(bed.lib().SetWL_OperationMode_STA_AP(&bed.record, 1), 0);
    ASSERT_EQ(bed.lib().SetWL_OperationMode_STA_AP(&bed.record, 0), 0);
    EXPECT_EQ(bed.connectState(), 1);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 0) << "the station settings were kept";
}

}  // namespace
}  // namespace rizorivu::sim
