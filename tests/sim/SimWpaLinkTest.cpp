// A station on the simulated WPA-PSK networks: the access point runs the handshakes over the
// adapter's EAPOL port, and data flows only with the keys it derived installed by WriteOid.

#include <gtest/gtest.h>

#include "adapter/ByteOrder.h"
#include "sim/PskAuthenticator.h"
#include "sim/StationLink.h"
#include "tests/sim/ScriptedStation.h"
#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

using testing::Bytes;
using testing::mac;
using testing::ScriptedStation;
using testing::SimTestBed;

constexpr int kInfra = 1, kAdHoc = 0;
constexpr int kWpaPsk = 4, kWpaNone = 5;
constexpr int kTkip = 4, kAes = 6;

std::string wpaWorld() {
    return testing::testWorld() +
           "[Network.MixedAes]\nSSID=MixedAes\nBSSID=02-10-00-00-00-0E\nChannel=5\nSignal=-63\n"
           "Security=wpa-psk\nCipher=aes\nGroupCipher=tkip\nPassphrase=mixed company\n"
           "GroupRekey=60\n"
           "[Network.WepGroup]\nSSID=WepGroup\nBSSID=02-10-00-00-00-0F\nChannel=4\nSignal=-61\n"
           "Security=wpa-psk\nCipher=tkip\nGroupCipher=wep104\nPassphrase=older devices\n";
}

// An add-key record as the WPA worker builds it.
Bytes addKey(bool pairwise, int index, std::span<const std::uint8_t> key, const Bytes& bssid) {
    Bytes record(key.size() + 39, 0);
    putLe32(record.data(), static_cast<std::uint32_t>(record.size()));
    putLe32(record.data() + 4,
            0x20000000u | (pairwise ? 0xC0000000u : static_cast<std::uint32_t>(index)));
    putLe32(record.data() + 8, static_cast<std::uint32_t>(key.size()));
    std::copy(bssid.begin(), bssid.end(), record.begin() + 12);
    std::copy(key.begin(), key.end(), record.begin() + 32);
    return record;
}

struct Network {
    const char* ssid;
    const char* passphrase;
    int encryption;
    int pairwise;
    int group;
    MacAddress bssid;
};

void PrintTo(const Network& n, std::ostream* os) {
    *os << n.ssid;
}

class SimWpaLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bed.open()); }

    void join(const Network& n, std::string_view passphrase) {
        station.masterKey = testing::masterKeyOf(passphrase, n.ssid);
        station.own = {0x02, 0, 0, 0, 0, 0x01};
        station.accessPoint = n.bssid;
        station.pairwise = n.pairwise;
        station.group = n.group;
        bed.configure(n.ssid, kInfra, kWpaPsk, n.encryption);
        bed.settle();
        ASSERT_EQ(bed.connectState(), 0);
    }

    // Answers what the access point sent; each answer reaches it at once.
    int converse() {
        const auto port = bed.lib().eapolPort(&bed.record);
        int frames = 0;
        while (auto frame = port->receiveEapol()) {
            ++frames;
            if (auto answer = station.answer(*frame)) {
                port->sendEapol(*answer);
            }
        }
        return frames;
    }

    int install(const Bytes& record) {
        return bed.lib().WriteOid(&bed.record, adapterbuf::kOidAddKey, record.data(),
                                  static_cast<int>(record.size()));
    }

    void installStationKeys(const Network& n) {
        const Bytes bssid(n.bssid.begin(), n.bssid.end());
        ASSERT_EQ(install(addKey(true, 0, station.temporalKey(), bssid)), 0);
        ASSERT_EQ(install(addKey(false, station.groupIndex, station.groupKey, bssid)), 0);
    }

    bool receives() {
        const FrameCounts start = bed.counts();
        bed.clock.advance(2'000);
        return bed.counts().received > start.received;
    }

    SimTestBed bed{wpaWorld()};
    ScriptedStation station;
};

class SimWpaCipherTest : public SimWpaLinkTest, public ::testing::WithParamInterface<Network> {};

TEST_P(SimWpaCipherTest, DataFlowsOnlyWithTheKeysOfTheHandshake) {
    const Network& n = GetParam();
    const Bytes bssid(n.bssid.begin(), n.bssid.end());
    bed.configure(n.ssid, kInfra, kWpaPsk, n.encryption);
    EXPECT_NE(install(addKey(true, 0, Bytes(ciphercode::keyBytes(n.pairwise), 1), bssid)), 0)
        << "no keys before the association";
    join(n, n.passphrase);
    converse();
    ASSERT_EQ(station.groupKey.size(), ciphercode::keyBytes(n.group));
    EXPECT_FALSE(receives()) << "no keys installed yet";

    // Keys of the right length but not the handshake's install nothing useful.
    Bytes wrong(station.temporalKey().begin(), station.temporalKey().end());
    wrong[0] ^= 0xFF;
    ASSERT_EQ(install(addKey(true, 0, wrong, bssid)), 0);
    ASSERT_EQ(install(addKey(false, station.groupIndex, station.groupKey, bssid)), 0);
    EXPECT_FALSE(receives());
    ASSERT_EQ(install(addKey(true, 0, station.temporalKey(), bssid)), 0);
    ASSERT_EQ(install(addKey(false, 3 - station.groupIndex, station.groupKey, bssid)), 0);
    EXPECT_FALSE(receives()) << "the group key under another index";

    installStationKeys(n);
    EXPECT_TRUE(receives());

    // A new association needs a new handshake and new keys.
    bed.setSsid(n.ssid);
    bed.settle();
    EXPECT_FALSE(receives());
    converse();
    installStationKeys(n);
    EXPECT_TRUE(receives());
}

INSTANTIATE_TEST_SUITE_P(Sim, SimWpaCipherTest,
                         ::testing::Values(Network{"PskTkip",
                                                   "correct horse",
                                                   kTkip,
                                                   ciphercode::kTkip,
                                                   ciphercode::kTkip,
                                                   {0x02, 0x10, 0, 0, 0, 0x04}},
                                           Network{"PskAes",
                                                   "battery staple",
                                                   kAes,
                                                   ciphercode::kCcmp,
                                                   ciphercode::kCcmp,
                                                   {0x02, 0x10, 0, 0, 0, 0x05}},
                                           Network{"MixedAes",
                                                   "mixed company",
                                                   kAes,
                                                   ciphercode::kCcmp,
                                                   ciphercode::kTkip,
                                                   {0x02, 0x10, 0, 0, 0, 0x0E}},
                                           Network{"WepGroup",
                                                   "older devices",
                                                   kTkip,
                                                   ciphercode::kTkip,
                                                   ciphercode::kWep104,
                                                   {0x02, 0x10, 0, 0, 0, 0x0F}}),
                         [](const ::testing::TestParamInfo<Network>& info) {
                             return info.param.ssid;
                         });

const Network kMixed{"MixedAes",        "mixed company",   kAes,
                     ciphercode::kCcmp, ciphercode::kTkip, {0x02, 0x10, 0, 0, 0, 0x0E}};

TEST_F(SimWpaLinkTest, WrongPassphraseIsDeauthenticatedAndMayAssociateAgain) {
    join(kMixed, "not the phrase");
    EXPECT_EQ(converse(), PskAuthenticator::kMaxSends) << "message 1, asked again";
    EXPECT_EQ(station.counters, (std::vector<std::uint64_t>{1, 2, 3, 4}));
    EXPECT_EQ(bed.connectState(), 1) << "deauthenticated";
    EXPECT_TRUE(station.groupKey.empty());
    bed.settle();
    EXPECT_EQ(bed.connectState(), 1) << "held off after the refused handshake";
    bed.clock.advance(StationLink::kRefusedHandshakeDelayMs);
    EXPECT_EQ(bed.connectState(), 0);
    EXPECT_EQ(bed.lib().eapolChannel(&bed.record)->pending(EapolChannel::Side::Station), 1u)
        << "a fresh message 1";
}

TEST_F(SimWpaLinkTest, GroupKeyIsRenewedAndOnlyTheNewOneCarriesData) {
    join(kMixed, kMixed.passphrase);
    converse();
    installStationKeys(kMixed);
    ASSERT_TRUE(receives());
    const Bytes first = station.groupKey;
    bed.clock.advance(60'000);
    EXPECT_FALSE(receives()) << "the old group key no longer fits";
    converse();
    EXPECT_TRUE(station.groupKey != first);  // keys unprinted
    EXPECT_EQ(station.groupIndex, 2);
    const Bytes bssid(kMixed.bssid.begin(), kMixed.bssid.end());
    ASSERT_EQ(install(addKey(false, station.groupIndex, station.groupKey, bssid)), 0);
    EXPECT_TRUE(receives());
}

TEST_F(SimWpaLinkTest, NewPassphraseInTheWorldDeauthenticates) {
    join(kMixed, kMixed.passphrase);
    converse();
    installStationKeys(kMixed);
    ASSERT_TRUE(receives());
    std::string world = wpaWorld();
    world.replace(world.find("mixed company"), 13, "mixed feelings");
    bed.editWorld(world);
    EXPECT_EQ(bed.connectState(), 1);
    EXPECT_FALSE(receives());
}

TEST_F(SimWpaLinkTest, WpaNoneCellTakesThePassphrasesKeyWithoutAHandshake) {
    bed.configure("CellPsk", kAdHoc, kWpaNone, kTkip);
    bed.settle();
    ASSERT_EQ(bed.connectState(), 0);
    EXPECT_EQ(bed.lib().eapolChannel(&bed.record)->pending(EapolChannel::Side::Station), 0u);
    const Bytes bssid = mac({2, 0x10, 0, 0, 0, 8});
    const auto right = testing::masterKeyOf("cell phrase", "CellPsk");
    EXPECT_NE(install(addKey(true, 0, right, bssid)), 0) << "an ad-hoc cell has no pairwise key";
    const auto wrong = testing::masterKeyOf("cell phrasE", "CellPsk");
    ASSERT_EQ(install(addKey(false, 0, wrong, bssid)), 0);
    EXPECT_FALSE(receives());
    ASSERT_EQ(install(addKey(false, 0, right, bssid)), 0);
    EXPECT_TRUE(receives());
}

}  // namespace
}  // namespace rizorivu::sim
