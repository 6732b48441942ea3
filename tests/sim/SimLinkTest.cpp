// What a connected station reports over time: signal, quality, speed, frame counters, and
// which add-key records WriteOid takes (the keys that open the data path: SimWpaLinkTest).

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "adapter/ByteOrder.h"
#include "sim/AddKeyRecord.h"
#include "sim/SignalModel.h"
#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

using testing::mac;
using testing::SimTestBed;

constexpr int kInfra = 1, kAdHoc = 0;
constexpr int kOpen = 0, kWpa = 3, kWpaPsk = 4, kWpaNone = 5;
constexpr int kWep = 0, kOff = 1, kTkip = 4, kAes = 6;

// An add-key record as the WPA worker builds it: L = key length + 39, bit 29 always, bits 31
// and 30 for a pairwise key, the key index for a group key.
std::vector<std::uint8_t> addKey(bool pairwise, int index, std::size_t keyLength,
                                 const std::vector<std::uint8_t>& bssid) {
    std::vector<std::uint8_t> record(keyLength + 39, 0);
    putLe32(record.data(), static_cast<std::uint32_t>(record.size()));
    const std::uint32_t word =
        0x20000000u | (pairwise ? 0xC0000000u : static_cast<std::uint32_t>(index));
    putLe32(record.data() + 4, word);
    putLe32(record.data() + 8, static_cast<std::uint32_t>(keyLength));
    std::copy(bssid.begin(), bssid.end(), record.begin() + 12);
    for (std::size_t i = 0; i < keyLength; ++i) {
        record[32 + i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    return record;
}

class SimLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bed.open()); }

    int install(const std::vector<std::uint8_t>& record) {
        return bed.lib().WriteOid(&bed.record, adapterbuf::kOidAddKey, record.data(),
                                  static_cast<int>(record.size()));
    }

    SimTestBed bed;
};

TEST_F(SimLinkTest, SignalJittersAroundTheNetworksLevelAndQualityFollowsIt) {
    bed.configure("Open", kInfra, kOpen, kOff);  // -50 dBm in the world
    bed.settle();
    ASSERT_EQ(bed.connectState(), 0);
    std::set<int> seen;
    for (int i = 0; i < 40; ++i) {
        const int rssi = bed.lib().QueryWL_RSSI(&bed.record);
        EXPECT_GE(rssi, -53);
        EXPECT_LE(rssi, -47);
        const int quality = bed.lib().QueryWL_CommQuality(&bed.record);
        EXPECT_EQ(quality, SignalModel::qualityPercent(rssi));
        seen.insert(rssi);
        bed.clock.advance(SignalModel::kJitterStepMs);
    }
    EXPECT_GE(seen.size(), 3u) << "the reading should move with time";
}

TEST_F(SimLinkTest, QualityIsHigherForAStrongerNetwork) {
    EXPECT_EQ(SignalModel::qualityPercent(-40), 100);
    EXPECT_EQ(SignalModel::qualityPercent(-30), 100);
    EXPECT_EQ(SignalModel::qualityPercent(-95), 0);
    EXPECT_EQ(SignalModel::qualityPercent(-100), 0);
    EXPECT_GT(SignalModel::qualityPercent(-60), SignalModel::qualityPercent(-80));
}

TEST_F(SimLinkTest, JitterRepeatsForTheSameSeedAndDiffersForAnother) {
    const SignalModel a(7), b(7), c(8);
    const MacAddress tx{2, 0x10, 0, 0, 0, 1};
    int differences = 0;
    for (std::int64_t t = 0; t < 20'000; t += 500) {
        EXPECT_EQ(a.rssiDbm(tx, -60, t), b.rssiDbm(tx, -60, t));
        differences += a.rssiDbm(tx, -60, t) != c.rssiDbm(tx, -60, t) ? 1 : 0;
    }
    EXPECT_GT(differences, 0);
}

TEST_F(SimLinkTest, SignalFollowsAWorldEdit) {
    bed.configure("Open", kInfra, kOpen, kOff);
    bed.settle();
    std::string world = testing::testWorld();
    world.replace(world.find("Signal=-50"), 10, "Signal=-80");
    bed.editWorld(world);
    const int rssi = bed.lib().QueryWL_RSSI(&bed.record);
    EXPECT_GE(rssi, -83);
    EXPECT_LE(rssi, -77);
    EXPECT_EQ(bed.connectState(), 0) << "a weaker signal is the same association";
}

TEST_F(SimLinkTest, SpeedIsTheBestCommonRate) {
    EXPECT_EQ(bed.lib().QueryWL_CurrentLinkSpeed(&bed.record), -1);
    bed.configure("Open", kInfra, kOpen, kOff);
    bed.settle();
    EXPECT_EQ(bed.lib().QueryWL_CurrentLinkSpeed(&bed.record), 54000);
    const std::array<std::uint8_t, 16> bOnly = {0x82, 0x84, 0x0B, 0x16};
    ASSERT_EQ(bed.lib().SetWL_DesiredRate(&bed.record, bOnly), 0);
    EXPECT_EQ(bed.lib().QueryWL_CurrentLinkSpeed(&bed.record), 11000);
    const std::array<std::uint8_t, 16> slow = {0x04};
    ASSERT_EQ(bed.lib().SetWL_DesiredRate(&bed.record, slow), 0);
    EXPECT_EQ(bed.lib().QueryWL_CurrentLinkSpeed(&bed.record), 2000);
    EXPECT_EQ(bed.connectState(), 0);
}

TEST_F(SimLinkTest, SpeedOfAn11bNetwork) {
    bed.writeKey(0, {1, 2, 3, 4, 5}, true);
    bed.configure("Wep64", kInfra, kOpen, kWep);
    bed.settle();
    EXPECT_EQ(bed.lib().QueryWL_CurrentLinkSpeed(&bed.record), 11000);
}

TEST_F(SimLinkTest, CountersMoveOnlyWhileConnected) {
    bed.setSsid("Nowhere");  // an empty SSID would join the strongest network
    bed.clock.advance(10'000);
    FrameCounts idle = bed.counts();
    EXPECT_EQ(idle.transmitted, 0u);
    EXPECT_EQ(idle.received, 0u);

    bed.configure("Open", kInfra, kOpen, kOff);
    bed.settle();
    const FrameCounts start = bed.counts();
    bed.clock.advance(10'000);
    const FrameCounts later = bed.counts();
    EXPECT_EQ(later.transmitted - start.transmitted, 10u * StationLink::kTxFramesPerSecond);
    EXPECT_EQ(later.received - start.received, 10u * StationLink::kRxFramesPerSecond);

    // Polled often or seldom, the same time gives the same count.
    for (int i = 0; i < 40; ++i) {
        bed.clock.advance(250);
        bed.counts();
    }
    const FrameCounts polled = bed.counts();
    EXPECT_EQ(polled.transmitted - later.transmitted, 10u * StationLink::kTxFramesPerSecond);

    bed.setSsid("Nowhere");
    const FrameCounts left = bed.counts();
    bed.clock.advance(10'000);
    EXPECT_EQ(bed.counts().transmitted, left.transmitted);
    EXPECT_EQ(bed.counts().received, left.received);
}

TEST_F(SimLinkTest, WrongWepKeyWithOpenSystemSendsButReceivesNothing) {
    bed.writeKey(0, {5, 4, 3, 2, 1}, true);
    bed.configure("Wep64", kInfra, kOpen, kWep);
    bed.settle();
    ASSERT_EQ(bed.connectState(), 0);
    const FrameCounts start = bed.counts();
    bed.clock.advance(5'000);
    EXPECT_GT(bed.counts().transmitted, start.transmitted);
    EXPECT_EQ(bed.counts().received, start.received);
}

TEST_F(SimLinkTest, AesKeysAreSixteenBytes) {
    bed.configure("Eap", kInfra, kWpa, kAes);
    bed.settle();
    const auto bssid = mac({2, 0x10, 0, 0, 0, 6});
    EXPECT_NE(install(addKey(true, 0, 32, bssid)), 0);
    EXPECT_EQ(install(addKey(true, 0, 16, bssid)), 0);
    EXPECT_EQ(install(addKey(false, 2, 16, bssid)), 0);
}

struct BadKeyCase {
    const char* name;
    std::vector<std::uint8_t> record;
    std::uint32_t oid = adapterbuf::kOidAddKey;
};

void PrintTo(const BadKeyCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<std::uint8_t> pskTkipPairwise() {
    return addKey(true, 0, 32, mac({2, 0x10, 0, 0, 0, 4}));
}

template <typename Edit>
std::vector<std::uint8_t> edited(Edit edit) {
    std::vector<std::uint8_t> r = pskTkipPairwise();
    edit(r);
    return r;
}

class SimBadKeyTest : public ::testing::TestWithParam<BadKeyCase> {};

TEST_P(SimBadKeyTest, IsRefusedAndInstallsNothing) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    bed.configure("PskTkip", kInfra, kWpaPsk, kTkip);
    bed.settle();
    const auto& r = GetParam().record;
    EXPECT_NE(bed.lib().WriteOid(&bed.record, GetParam().oid, r.data(), static_cast<int>(r.size())),
              0);
    // Had it been taken, the valid group key below would open the data path.
    const auto group = addKey(false, 1, 32, mac({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    ASSERT_EQ(bed.lib().WriteOid(&bed.record, adapterbuf::kOidAddKey, group.data(),
                                 static_cast<int>(group.size())),
              0);
    const FrameCounts start = bed.counts();
    bed.clock.advance(2'000);
    EXPECT_EQ(bed.counts().received, start.received);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimBadKeyTest,
    ::testing::Values(
        BadKeyCase{"OtherOid", pskTkipPairwise(), 0xFF12FF1E},
        BadKeyCase{"ShorterThanTheHeader", std::vector<std::uint8_t>(31, 0)},
        BadKeyCase{"LengthBeyondTheData", edited([](auto& r) { r.resize(r.size() - 1); })},
        BadKeyCase{"LengthBelowTheHeader", edited([](auto& r) { putLe32(r.data(), 20); })},
        BadKeyCase{"KeyRunsPastTheRecord", edited([](auto& r) { putLe32(r.data() + 8, 40); })},
        BadKeyCase{"EmptyKey", edited([](auto& r) { putLe32(r.data() + 8, 0); })},
        BadKeyCase{"TkipKeyOfSixteenBytes", addKey(true, 0, 16, mac({2, 0x10, 0, 0, 0, 4}))},
        BadKeyCase{"PairwiseForAnotherBssid", addKey(true, 0, 32, mac({2, 0x10, 0, 0, 0, 5}))},
        BadKeyCase{"ReservedBits", edited([](auto& r) { r[5] = 0x01; })},
        BadKeyCase{"PairwiseWithoutTransmitBit", edited([](auto& r) { r[7] = 0x60; })},
        BadKeyCase{"PairwiseWithIndex", edited([](auto& r) { r[4] = 0x01; })},
        BadKeyCase{"GroupIndexFour", addKey(false, 4, 32, mac({2, 0x10, 0, 0, 0, 4}))}),
    [](const ::testing::TestParamInfo<BadKeyCase>& info) { return info.param.name; });

TEST(SimAddKeyRecordTest, ReadsTheFieldsOfAWellFormedRecord) {
    std::vector<std::uint8_t> r = addKey(false, 3, 16, mac({1, 2, 3, 4, 5, 6}));
    for (int i = 0; i < 8; ++i) {
        r[24 + i] = static_cast<std::uint8_t>(i + 1);
    }
    const auto parsed = parseAddKeyRecord(r);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_FALSE(parsed->pairwise);
    EXPECT_EQ(parsed->keyIndex, 3);
    EXPECT_EQ(parsed->bssid, (MacAddress{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(parsed->receiveSequence, (std::array<std::uint8_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_EQ(parsed->material.size(), 16u);
    EXPECT_EQ(parsed->material.front(), 0xA0);
    EXPECT_EQ(parsed->material.back(), 0xAF);
}

TEST_F(SimLinkTest, EapolChannelIsClearedByANewAssociation) {
    bed.configure("PskAes", kInfra, kWpaPsk, kAes);
    bed.settle();
    const auto channel = bed.lib().eapolChannel(&bed.record);
    ASSERT_NE(channel, nullptr);
    const std::vector<std::uint8_t> frame = {0x01, 0x03, 0x00, 0x5F};
    ASSERT_TRUE(channel->send(EapolChannel::Side::AccessPoint, frame));
    EXPECT_EQ(channel->pending(EapolChannel::Side::Station), 1u);
    bed.setSsid("PskAes");
    EXPECT_EQ(channel->pending(EapolChannel::Side::Station), 0u);
    AdapterRecord closed;
    EXPECT_EQ(bed.lib().eapolChannel(&closed), nullptr);
}

TEST(SimEapolChannelTest, CarriesFramesEachWayInOrderAndBounded) {
    EapolChannel channel;
    const std::vector<std::uint8_t> a = {1}, b = {2, 2};
    EXPECT_TRUE(channel.send(EapolChannel::Side::Station, a));
    EXPECT_TRUE(channel.send(EapolChannel::Side::Station, b));
    EXPECT_EQ(channel.receive(EapolChannel::Side::Station), std::nullopt) << "nothing came back";
    EXPECT_EQ(channel.receive(EapolChannel::Side::AccessPoint), a);
    EXPECT_EQ(channel.receive(EapolChannel::Side::AccessPoint), b);
    EXPECT_EQ(channel.receive(EapolChannel::Side::AccessPoint), std::nullopt);

    EXPECT_FALSE(channel.send(EapolChannel::Side::AccessPoint, {}));
    const std::vector<std::uint8_t> huge(EapolChannel::kMaxFrameBytes + 1, 0);
    EXPECT_FALSE(channel.send(EapolChannel::Side::AccessPoint, huge));
    for (std::size_t i = 0; i < EapolChannel::kQueueDepth; ++i) {
        EXPECT_TRUE(channel.send(EapolChannel::Side::AccessPoint, a));
    }
    EXPECT_FALSE(channel.send(EapolChannel::Side::AccessPoint, a)) << "the queue is full";
    EXPECT_EQ(channel.pending(EapolChannel::Side::Station), EapolChannel::kQueueDepth);
}

}  // namespace
}  // namespace rizorivu::sim
