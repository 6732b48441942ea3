// The access point's WPA-PSK authenticator against a scripted station: the 4-way and group
// handshakes, retries, deauthentication, rekeying and the frames it must drop.

#include "sim/PskAuthenticator.h"

#include <gtest/gtest.h>

#include <functional>

#include "sim/BeaconElements.h"
#include "tests/sim/ScriptedStation.h"

namespace rizorivu::sim {
namespace {

using testing::Bytes;
using testing::ScriptedStation;
using State = PskAuthenticator::State;
using Side = EapolChannel::Side;

// Nonces that differ each time, so that a rekey brings a new group key.
struct CountingNonces final : crypto::NonceSource {
    std::uint8_t next = 0x10;
    bool fill(std::span<std::uint8_t> nonce) override {
        for (auto& b : nonce) {
            b = next++;
        }
        return true;
    }
};

struct Ciphers {
    const char* name;
    int pairwise;
    int group;
};

void PrintTo(const Ciphers& c, std::ostream* os) {
    *os << c.name;
}

struct Bed {
    explicit Bed(Ciphers c, std::string_view stationPhrase = "correct horse",
                 std::int64_t rekeyMs = 0) {
        PskAuthenticator::Setup setup;
        setup.masterKey = testing::masterKeyOf("correct horse", "PskNet");
        setup.address = {0x02, 0x10, 0, 0, 0, 0x04};
        setup.station = {0x02, 0, 0, 0, 0, 0x01};
        setup.pairwiseCipher = c.pairwise;
        setup.groupCipher = c.group;
        setup.element = WpaElement::build(c.group, c.pairwise, WpaElement::kKeyManagementPsk);
        setup.rekeyMs = rekeyMs;
        element = setup.element;
        station.masterKey = testing::masterKeyOf(stationPhrase, "PskNet");
        station.own = setup.station;
        station.accessPoint = setup.address;
        station.pairwise = c.pairwise;
        station.group = c.group;
        auth.emplace(std::move(setup), channel, nonces, rc4);
    }

    // Carries frames both ways until the access point has nothing more to say.
    void exchange() {
        while (auto frame = channel.receive(Side::Station)) {
            ++framesToStation;
            if (auto answer = station.answer(*frame)) {
                auth->receive(*answer, now);
            }
        }
    }

    EapolChannel channel;
    CountingNonces nonces;
    crypto::Rc4Cipher rc4;
    ScriptedStation station;
    Bytes element;
    std::optional<PskAuthenticator> auth;
    std::int64_t now = 0;
    int framesToStation = 0;
};

class SimAuthenticatorCipherTest : public ::testing::TestWithParam<Ciphers> {};

TEST_P(SimAuthenticatorCipherTest, BothEndsHoldTheSameKeysWithRisingCounters) {
    Bed bed(GetParam());
    bed.auth->start(0);
    bed.exchange();
    EXPECT_EQ(bed.auth->state(), State::Established);
    EXPECT_EQ(bed.auth->micFailures(), 0);
    const auto ap = bed.auth->temporalKey();
    ASSERT_EQ(ap.size(), ciphercode::keyBytes(GetParam().pairwise));
    EXPECT_TRUE(std::equal(ap.begin(), ap.end(), bed.station.temporalKey().begin(),
                           bed.station.temporalKey().end()));
    const auto group = bed.auth->groupKey();
    EXPECT_TRUE(Bytes(group.begin(), group.end()) == bed.station.groupKey);  // keys unprinted
    EXPECT_EQ(bed.station.groupKey.size(), ciphercode::keyBytes(GetParam().group));
    EXPECT_EQ(bed.station.groupIndex, 1);
    EXPECT_EQ(bed.station.message3Element, bed.element);
    EXPECT_EQ(bed.station.counters, (std::vector<std::uint64_t>{1, 2, 3}));
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimAuthenticatorCipherTest,
    ::testing::Values(Ciphers{"Tkip", ciphercode::kTkip, ciphercode::kTkip},
                      Ciphers{"Ccmp", ciphercode::kCcmp, ciphercode::kCcmp},
                      Ciphers{"CcmpWithTkipGroup", ciphercode::kCcmp, ciphercode::kTkip},
                      Ciphers{"TkipWithWep40Group", ciphercode::kTkip, ciphercode::kWep40},
                      Ciphers{"CcmpWithWep104Group", ciphercode::kCcmp, ciphercode::kWep104}),
    [](const ::testing::TestParamInfo<Ciphers>& info) { return info.param.name; });

constexpr Ciphers kCcmp{"Ccmp", ciphercode::kCcmp, ciphercode::kCcmp};

TEST(SimAuthenticatorTest, SilenceIsMetWithRetriesOnTheClockThenRefused) {
    Bed bed(kCcmp);
    bed.auth->start(0);
    int sent = 1;
    for (int i = 1; i <= PskAuthenticator::kMaxSends; ++i) {
        bed.auth->tick(i * PskAuthenticator::kRetryMs - 1);
        EXPECT_EQ(bed.channel.pending(Side::Station), static_cast<std::size_t>(sent));
        bed.auth->tick(i * PskAuthenticator::kRetryMs);
        sent = std::min(sent + 1, PskAuthenticator::kMaxSends);
    }
    EXPECT_TRUE(bed.auth->failed());
    EXPECT_EQ(bed.channel.pending(Side::Station),
              static_cast<std::size_t>(PskAuthenticator::kMaxSends));
}

TEST(SimAuthenticatorTest, EapolStartBringsMessage1AgainAndALateAnswerIsDropped) {
    Bed bed(kCcmp);
    bed.auth->start(0);
    const auto first = bed.channel.receive(Side::Station);
    ASSERT_TRUE(first);
    bed.auth->receive(eapolStartFrame(), 0);
    const auto second = bed.channel.receive(Side::Station);
    ASSERT_TRUE(second);
    EXPECT_EQ(EapolKeyFrame::parse(*second)->replayCounter, 2u);
    // The answer to the first message 1 carries a stale counter.
    const auto stale = bed.station.answer(*first);
    bed.auth->receive(*stale, 0);
    EXPECT_EQ(bed.auth->droppedFrames(), 1);
    EXPECT_EQ(bed.channel.pending(Side::Station), 0u);
    bed.auth->receive(*bed.station.answer(*second), 0);
    bed.exchange();
    EXPECT_EQ(bed.auth->state(), State::Established);
}

TEST(SimAuthenticatorTest, GroupKeyIsRenewedAtItsIntervalUnderTheOtherIndex) {
    Bed bed(Ciphers{"CcmpWithTkipGroup", ciphercode::kCcmp, ciphercode::kTkip}, "correct horse",
            60'000);
    bed.auth->start(0);
    bed.exchange();
    ASSERT_EQ(bed.auth->state(), State::Established);
    const Bytes first = bed.station.groupKey;
    bed.now = 59'999;
    bed.auth->tick(bed.now);
    EXPECT_EQ(bed.channel.pending(Side::Station), 0u);
    bed.now = 60'000;
    bed.auth->tick(bed.now);
    bed.exchange();
    EXPECT_EQ(bed.auth->state(), State::Established);
    EXPECT_EQ(bed.station.groupIndex, 2);
    EXPECT_TRUE(bed.station.groupKey != first);
    const auto group = bed.auth->groupKey();
    EXPECT_TRUE(Bytes(group.begin(), group.end()) == bed.station.groupKey);  // keys unprinted
    EXPECT_EQ(bed.station.counters.back(), 4u);

    // A station that stops answering the rekey is refused after the retries.
    bed.station.answerGroup = false;
    bed.now = 120'000;
    for (int i = 0; i <= PskAuthenticator::kMaxSends; ++i) {
        bed.auth->tick(bed.now + i * PskAuthenticator::kRetryMs);
        bed.exchange();
    }
    EXPECT_TRUE(bed.auth->failed());
    EXPECT_EQ(bed.station.groupIndex, 1);
}

struct BadAnswer {
    const char* name;
    std::function<void(Bytes&, const crypto::PairwiseKeys&)> edit;
};

void PrintTo(const BadAnswer& c, std::ostream* os) {
    *os << c.name;
}

class SimAuthenticatorBadFrameTest : public ::testing::TestWithParam<BadAnswer> {};

// Message 2 mangled on its way is dropped without reading past it or changing state; the
// station's next genuine answer still completes the handshake.
TEST_P(SimAuthenticatorBadFrameTest, IsDroppedAndTheHandshakeGoesOn) {
    Bed bed(kCcmp);
    bed.auth->start(0);
    const auto m1 = bed.channel.receive(Side::Station);
    Bytes bad = *bed.station.answer(*m1);
    GetParam().edit(bad, bed.station.keys);
    bed.auth->receive(bad, 0);
    EXPECT_EQ(bed.auth->state(), State::AwaitingMessage2);
    EXPECT_TRUE(bed.auth->temporalKey().empty());
    // A failed MIC brings message 1 again; the station answers the latest one.
    auto latest = m1;
    while (auto again = bed.channel.receive(Side::Station)) {
        latest = again;
    }
    bed.auth->receive(*bed.station.answer(*latest), 0);
    bed.exchange();
    EXPECT_EQ(bed.auth->state(), State::Established);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimAuthenticatorBadFrameTest,
    ::testing::Values(BadAnswer{"Truncated", [](Bytes& f, auto&) { f.resize(50); }},
                      BadAnswer{"KeyDataLengthLies", [](Bytes& f, auto&) { f[4 + 93] = 0xFF; }},
                      BadAnswer{"OtherDescriptor", [](Bytes& f, auto&) { f[4] = 2; }},
                      BadAnswer{"ReplayedCounter", [](Bytes& f, auto&) { f[4 + 12] = 0; }},
                      BadAnswer{"AckBitSet", [](Bytes& f, auto&) { f[4 + 2] |= 0x80; }},
                      BadAnswer{"WrongMic",
                                [](Bytes& f, auto&) { f[EapolKeyFrame::kMicOffset] ^= 1; }},
                      // A correctly signed answer that names TKIP as its pairwise cipher.
                      BadAnswer{"OtherCipherInElement",
                                [](Bytes& f, const crypto::PairwiseKeys& keys) {
                                    f[f.size() - 7] = 2;
                                    signKeyFrame(f, keys.confirmationKey());
                                }},
                      BadAnswer{"Empty", [](Bytes& f, auto&) { f.clear(); }}),
    [](const ::testing::TestParamInfo<BadAnswer>& info) { return info.param.name; });

}  // namespace
}  // namespace rizorivu::sim
