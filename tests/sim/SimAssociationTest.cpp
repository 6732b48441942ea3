// Association of the station against the test world: which settings join which network,
// when, and what makes the station leave.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

using testing::bytesOf;
using testing::mac;
using testing::SimTestBed;

constexpr int kAdHoc = 0, kInfra = 1, kAuto = 2, kPseudo = 3;
constexpr int kOpen = 0, kShared = 1, kAutoSwitch = 2, kWpa = 3, kWpaPsk = 4, kWpaNone = 5;
constexpr int kWep = 0, kOff = 1, kTkip = 4, kAes = 6;

const std::vector<std::uint8_t> kWep64Key = {1, 2, 3, 4, 5};
const std::vector<std::uint8_t> kWepSharedKey = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17,
                                                 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D};

enum class Key { None, Right, Wrong };

struct AssociationCase {
    const char* name;
    const char* ssid;
    int networkType;
    int authentication;
    int encryption;
    Key key;
    int lastBssidByte;  // 0: not associated
};

void PrintTo(const AssociationCase& c, std::ostream* os) {
    *os << c.name;
}

class SimAssociationMatrixTest : public ::testing::TestWithParam<AssociationCase> {};

TEST_P(SimAssociationMatrixTest, AssociatesOnlyWhenSettingsFitTheNetwork) {
    const AssociationCase& c = GetParam();
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    if (c.key != Key::None) {
        std::vector<std::uint8_t> key =
            std::string_view(c.ssid) == "WepShared" ? kWepSharedKey : kWep64Key;
        if (c.key == Key::Wrong) {
            key.back() ^= 0xFF;
        }
        ASSERT_EQ(bed.writeKey(1, key, true), 0);
    }
    bed.configure(c.ssid, c.networkType, c.authentication, c.encryption);
    EXPECT_EQ(bed.connectState(), 1) << "associated before the association time";
    bed.settle();
    if (c.lastBssidByte == 0) {
        EXPECT_EQ(bed.connectState(), 1);
        EXPECT_EQ(bed.lib().QueryWL_RSSI(&bed.record), -1);
    } else {
        EXPECT_EQ(bed.connectState(), 0);
        EXPECT_EQ(bed.bssid(), mac({2, 0x10, 0, 0, 0, c.lastBssidByte}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimAssociationMatrixTest,
    ::testing::Values(
        AssociationCase{"OpenWithOpenSystem", "Open", kInfra, kOpen, kOff, Key::None, 1},
        AssociationCase{"OpenWithAutoSwitch", "Open", kInfra, kAutoSwitch, kOff, Key::None, 1},
        AssociationCase{"OpenInAutoNetworkType", "Open", kAuto, kOpen, kOff, Key::None, 1},
        AssociationCase{"OpenRefusesSharedKey", "Open", kInfra, kShared, kOff, Key::None, 0},
        AssociationCase{"OpenRefusesWep", "Open", kInfra, kOpen, kWep, Key::Right, 0},
        AssociationCase{"OpenRefusesWpa", "Open", kInfra, kWpaPsk, kTkip, Key::None, 0},
        AssociationCase{"OpenIsNoCell", "Open", kAdHoc, kOpen, kOff, Key::None, 0},
        AssociationCase{"WepSharedRightKey", "Wep64", kInfra, kShared, kWep, Key::Right, 2},
        AssociationCase{"WepSharedWrongKey", "Wep64", kInfra, kShared, kWep, Key::Wrong, 0},
        AssociationCase{"WepSharedNoKey", "Wep64", kInfra, kShared, kWep, Key::None, 0},
        AssociationCase{"WepOpenSystemAnyKey", "Wep64", kInfra, kOpen, kWep, Key::Wrong, 2},
        AssociationCase{"WepAutoSwitchWrongKeyFallsBack", "Wep64", kInfra, kAutoSwitch, kWep,
                        Key::Wrong, 2},
        AssociationCase{"WepNeedsEncryption", "Wep64", kInfra, kOpen, kOff, Key::Right, 0},
        AssociationCase{"WepRefusesWpa", "Wep64", kInfra, kWpaPsk, kTkip, Key::Right, 0},
        AssociationCase{"SharedOnlyAutoSwitchRightKey", "WepShared", kInfra, kAutoSwitch, kWep,
                        Key::Right, 3},
        AssociationCase{"SharedOnlyAutoSwitchWrongKey", "WepShared", kInfra, kAutoSwitch, kWep,
                        Key::Wrong, 0},
        AssociationCase{"SharedOnlyRefusesOpenSystem", "WepShared", kInfra, kOpen, kWep, Key::Right,
                        0},
        AssociationCase{"PskTkip", "PskTkip", kInfra, kWpaPsk, kTkip, Key::None, 4},
        AssociationCase{"PskTkipWrongCipher", "PskTkip", kInfra, kWpaPsk, kAes, Key::None, 0},
        AssociationCase{"PskTkipAs8021x", "PskTkip", kInfra, kWpa, kTkip, Key::None, 0},
        AssociationCase{"PskTkipAsWpaNone", "PskTkip", kInfra, kWpaNone, kTkip, Key::None, 0},
        AssociationCase{"PskTkipWithoutWpa", "PskTkip", kInfra, kAutoSwitch, kOff, Key::None, 0},
        AssociationCase{"PskAes", "PskAes", kInfra, kWpaPsk, kAes, Key::None, 5},
        AssociationCase{"Eap", "Eap", kInfra, kWpa, kAes, Key::None, 6},
        AssociationCase{"EapAsPsk", "Eap", kInfra, kWpaPsk, kAes, Key::None, 0},
        AssociationCase{"JoinsCell", "Cell", kAdHoc, kOpen, kOff, Key::None, 7},
        AssociationCase{"CellInAutoNetworkType", "Cell", kAuto, kOpen, kOff, Key::None, 7},
        AssociationCase{"CellIsNoAccessPoint", "Cell", kInfra, kOpen, kOff, Key::None, 0},
        AssociationCase{"WpaNoneCell", "CellPsk", kAdHoc, kWpaNone, kTkip, Key::None, 8},
        AssociationCase{"WpaPskIsNotForCells", "CellPsk", kAdHoc, kWpaPsk, kTkip, Key::None, 0},
        AssociationCase{"HiddenBySsid", "Hidden", kInfra, kOpen, kOff, Key::None, 9},
        AssociationCase{"StrongestOfTwins", "Twin", kInfra, kOpen, kOff, Key::None, 0x0B},
        AssociationCase{"TooFaint", "Faint", kInfra, kOpen, kOff, Key::None, 0},
        AssociationCase{"ChannelOutsideRegion", "Europe", kInfra, kOpen, kOff, Key::None, 0},
        AssociationCase{"NobodyHasTheSsid", "Nowhere", kInfra, kOpen, kOff, Key::None, 0},
        AssociationCase{"SsidComparesExactly", "open", kInfra, kOpen, kOff, Key::None, 0},
        // An empty SSID joins the strongest network the settings admit, never a hidden one.
        AssociationCase{"AnyOpenTakesTheStrongest", "", kInfra, kOpen, kOff, Key::None, 0x0B},
        AssociationCase{"AnyInAutoTypeTakesAnAccessPoint", "", kAuto, kOpen, kOff, Key::None, 0x0B},
        AssociationCase{"AnyWithSharedKey", "", kInfra, kShared, kWep, Key::Right, 2},
        AssociationCase{"AnyWithPskTkip", "", kInfra, kWpaPsk, kTkip, Key::None, 4},
        AssociationCase{"AnyWithPskAes", "", kInfra, kWpaPsk, kAes, Key::None, 5},
        AssociationCase{"AnyWith8021x", "", kInfra, kWpa, kAes, Key::None, 6},
        AssociationCase{"AnyCell", "", kAdHoc, kOpen, kOff, Key::None, 7},
        AssociationCase{"AnyWpaNoneCell", "", kAdHoc, kWpaNone, kTkip, Key::None, 8},
        AssociationCase{"AnyStartsNoCellOfItsOwn", "", kAdHoc, kWpaNone, kAes, Key::None, 0},
        AssociationCase{"AnyPseudoIbssStaysDown", "", kPseudo, kOpen, kOff, Key::None, 0}),
    [](const ::testing::TestParamInfo<AssociationCase>& info) { return info.param.name; });

class SimAssociationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bed.open()); }

    void connectOpen() {
        bed.configure("Open", kInfra, kOpen, kOff);
        bed.settle();
        ASSERT_EQ(bed.connectState(), 0);
    }

    SimTestBed bed;
};

TEST_F(SimAssociationTest, CompletesAfterTheLastRelevantSetting) {
    bed.configure("Open", kInfra, kOpen, kOff);
    bed.clock.advance(1000);
    EXPECT_EQ(bed.connectState(), 1);
    bed.lib().SetWL_AuthenticationMode(&bed.record, kAutoSwitch);  // starts the wait again
    bed.clock.advance(1000);
    EXPECT_EQ(bed.connectState(), 1);
    bed.clock.advance(499);
    EXPECT_EQ(bed.connectState(), 1);
    bed.clock.advance(1);
    EXPECT_EQ(bed.connectState(), 0);
    // Settings that do not touch the association leave the link up.
    bed.lib().SetWL_FragmentationThreshold(&bed.record, 1024);
    bed.lib().SetWL_PSMode(&bed.record, 1);
    bed.lib().SetWL_AuthenticationMode(&bed.record, kAutoSwitch);
    EXPECT_EQ(bed.connectState(), 0);
}

TEST_F(SimAssociationTest, SettingTheSameSsidAgainReassociates) {
    connectOpen();
    bed.setSsid("Open");
    EXPECT_EQ(bed.connectState(), 1);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 0);
}

TEST_F(SimAssociationTest, EmptySsidMovesToTheStrongestAndRandomSsidLeaves) {
    connectOpen();
    ASSERT_EQ(bed.lib().SetWL_SSID(&bed.record, nullptr, 0), 0);
    EXPECT_EQ(bed.connectState(), 1) << "the station associates afresh";
    bed.settle();
    EXPECT_EQ(bed.connectState(), 0);
    EXPECT_EQ(bed.bssid(), mac({2, 0x10, 0, 0, 0, 0x0B}));
    std::array<std::uint8_t, 32> joined{};
    ASSERT_EQ(bed.lib().QueryWL_SSID(&bed.record, joined), 4) << "the SSID of the joined network";
    EXPECT_EQ(std::string(joined.begin(), joined.begin() + 4), "Twin");

    connectOpen();
    std::vector<std::uint8_t> random(32);
    for (std::size_t i = 0; i < random.size(); ++i) {
        random[i] = static_cast<std::uint8_t>(i * 37 + 11);
    }
    ASSERT_EQ(bed.lib().SetWL_SSID(&bed.record, random.data(), 32), 0);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 1);
    std::array<std::uint8_t, 32> ssid{};
    EXPECT_EQ(bed.lib().QueryWL_SSID(&bed.record, ssid), 32);
    EXPECT_TRUE(std::equal(random.begin(), random.end(), ssid.begin()));
}

TEST_F(SimAssociationTest, RefusesSsidsItCannotHold) {
    const std::vector<std::uint8_t> long33(33, 'x');
    EXPECT_NE(bed.lib().SetWL_SSID(&bed.record, long33.data(), 33), 0);
    EXPECT_NE(bed.lib().SetWL_SSID(&bed.record, long33.data(), -1), 0);
    EXPECT_NE(bed.lib().SetWL_SSID(&bed.record, nullptr, 4), 0);
}

TEST_F(SimAssociationTest, ChosenBssidSelectsThatAccessPoint) {
    const auto far = mac({2, 0x10, 0, 0, 0, 0x0A});
    ASSERT_EQ(bed.lib().SetWL_BSSID(&bed.record, std::span<const std::uint8_t, 6>(far.data(), 6)),
              0);
    bed.configure("Twin", kInfra, kOpen, kOff);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 0);
    EXPECT_EQ(bed.bssid(), far);
    EXPECT_EQ(bed.lib().QueryWL_Channel(&bed.record), 10);

    // Another SSID releases the choice, so the twin SSID finds the stronger one again.
    bed.setSsid("Open");
    bed.settle();
    EXPECT_EQ(bed.bssid(), mac({2, 0x10, 0, 0, 0, 1}));
    bed.setSsid("Twin");
    bed.settle();
    EXPECT_EQ(bed.bssid(), mac({2, 0x10, 0, 0, 0, 0x0B}));
}

TEST_F(SimAssociationTest, BroadcastBssidClearsTheChoiceAndGroupAddressesAreRefused) {
    bed.configure("Open", kInfra, kOpen, kOff);
    const auto unknown = mac({2, 0x77, 0, 0, 0, 1});
    ASSERT_EQ(
        bed.lib().SetWL_BSSID(&bed.record, std::span<const std::uint8_t, 6>(unknown.data(), 6)), 0);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 1) << "held to an access point that is not there";
    const auto group = mac({0x01, 0, 0x5E, 0, 0, 1});
    EXPECT_NE(bed.lib().SetWL_BSSID(&bed.record, std::span<const std::uint8_t, 6>(group.data(), 6)),
              0);
    const auto broadcast = mac({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    ASSERT_EQ(
        bed.lib().SetWL_BSSID(&bed.record, std::span<const std::uint8_t, 6>(broadcast.data(), 6)),
        0);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 0);
}

TEST_F(SimAssociationTest, CorrectingTheSharedKeyAssociates) {
    bed.writeKey(0, {9, 9, 9, 9, 9}, true);
    bed.configure("Wep64", kInfra, kShared, kWep);
    bed.settle();
    ASSERT_EQ(bed.connectState(), 1);
    bed.writeKey(0, kWep64Key, true);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 0);
    // The transmit key decides: a right key at another index does not help.
    bed.writeKey(2, {9, 9, 9, 9, 9}, true);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 1);
}

TEST_F(SimAssociationTest, StartsItsOwnCellWhenNoneMatches) {
    ASSERT_EQ(bed.lib().SetWL_Channel(&bed.record, 3), 0);
    bed.configure("Garage", kAdHoc, kOpen, kOff);
    bed.settle();
    // Alone in the cell: not connected, but the cell is there.
    EXPECT_EQ(bed.connectState(), 1);
    EXPECT_EQ(bed.lib().QueryWL_NetworkType(&bed.record), kAdHoc);
    EXPECT_EQ(bed.lib().QueryWL_Channel(&bed.record), 3);
    const auto bssid = bed.bssid();
    ASSERT_EQ(bssid.size(), 6u);
    EXPECT_EQ(bssid[0] & 0x03, 0x02) << "a locally administered unicast address";
    EXPECT_EQ(bed.lib().QueryWL_CurrentLinkSpeed(&bed.record), 54000);
    EXPECT_EQ(bed.lib().QueryWL_RSSI(&bed.record), -1);
}

TEST_F(SimAssociationTest, JoinsAnExistingCellOnItsChannel) {
    ASSERT_EQ(bed.lib().SetWL_Channel(&bed.record, 3), 0);
    bed.configure("Cell", kAdHoc, kOpen, kOff);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 0);
    EXPECT_EQ(bed.lib().QueryWL_Channel(&bed.record), 7);
    EXPECT_EQ(bed.lib().QueryWL_CurrentLinkSpeed(&bed.record), 54000);
}

TEST_F(SimAssociationTest, PseudoIbssIsUpWithoutAPartner) {
    bed.lib().SetWL_Channel(&bed.record, 5);
    bed.configure("Anything", kPseudo, kOpen, kOff);
    EXPECT_EQ(bed.connectState(), 1);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 0);
    EXPECT_EQ(bed.lib().QueryWL_NetworkType(&bed.record), kPseudo);
    EXPECT_EQ(bed.lib().QueryWL_Channel(&bed.record), 5);
}

TEST_F(SimAssociationTest, AutoNetworkTypeReportsTheTypeOfTheJoinedNetwork) {
    bed.configure("Cell", kAuto, kOpen, kOff);
    EXPECT_EQ(bed.lib().QueryWL_NetworkType(&bed.record), kAuto);
    bed.settle();
    EXPECT_EQ(bed.lib().QueryWL_NetworkType(&bed.record), kAdHoc);
    bed.setSsid("Open");
    bed.settle();
    EXPECT_EQ(bed.lib().QueryWL_NetworkType(&bed.record), kInfra);
}

TEST_F(SimAssociationTest, AutoNetworkTypePrefersAnAccessPointToACell) {
    SimTestBed mixed(std::string(testing::kAdapterSection) +
                     "[Network.Cell]\nSSID=Mixed\nBSSID=02-10-00-00-00-01\nChannel=1\n"
                     "Signal=-40\nType=adhoc\n"
                     "[Network.Ap]\nSSID=Mixed\nBSSID=02-10-00-00-00-02\nChannel=2\nSignal=-80\n");
    ASSERT_TRUE(mixed.open());
    mixed.configure("Mixed", kAuto, kOpen, kOff);
    mixed.settle();
    EXPECT_EQ(mixed.bssid(), mac({2, 0x10, 0, 0, 0, 2}));
}

TEST_F(SimAssociationTest, RegionDecidesWhichChannelsCanBeJoined) {
    bed.configure("Europe", kInfra, kOpen, kOff);
    bed.settle();
    ASSERT_EQ(bed.connectState(), 1);
    ASSERT_EQ(bed.lib().SetWL_RegionAndSupportChannel(&bed.record, 0x30), 0);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 0);
    EXPECT_EQ(bed.lib().QueryWL_Channel(&bed.record), 13);
    // Narrowing the list again loses the network.
    ASSERT_EQ(bed.lib().SetWL_RegionAndSupportChannel(&bed.record, 0x31), 0);
    EXPECT_EQ(bed.connectState(), 1);
}

TEST_F(SimAssociationTest, FollowsANetworkThatMovesOrVanishes) {
    connectOpen();
    std::string world = testing::testWorld();
    world.replace(world.find("Channel=1\nSignal=-50"), 9, "Channel=6");
    bed.editWorld(world);
    EXPECT_EQ(bed.connectState(), 1) << "a new channel is a new association";
    bed.settle();
    EXPECT_EQ(bed.connectState(), 0);
    EXPECT_EQ(bed.lib().QueryWL_Channel(&bed.record), 6);

    world.replace(world.find("SSID=Open"), 9, "SSID=Shut");
    bed.editWorld(world);
    EXPECT_EQ(bed.connectState(), 1);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 1);
}

}  // namespace
}  // namespace rizorivu::sim
