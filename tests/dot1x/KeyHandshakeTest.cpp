// The supplicant's key handshakes against a small authenticator, one frame at a time.

#include "dot1x/KeyHandshake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "adapter/AuthenticationMode.h"
#include "adapter/DriverCode.h"
#include "adapter/RsnElement.h"
#include "adapter/WpaElement.h"
#include "tests/support/HexBytes.h"
#include "tests/support/KeyAuthenticator.h"
#include "tests/support/LoopbackEapol.h"

namespace rizorivu::dot1x {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::KeyAuthenticator;

struct FixedNonces final : crypto::NonceSource {
    bool fill(std::span<std::uint8_t> nonce) override {
        std::fill(nonce.begin(), nonce.end(), 0x5C);
        return true;
    }
};

struct Installed {
    Bytes rsc;
    Bytes key;
    int index;
    int type;
};

enum class Version { Wpa, Wpa2 };

// Supplicant and authenticator on a loopback link with a virtual clock.
struct Bed {
    explicit Bed(int pairwise, int group, std::size_t groupKeyBytes = 0,
                 Version version = Version::Wpa) {
        context.ownMac = {0x02, 0x00, 0x00, 0x00, 0x05, 0x40};
        context.pairwiseMasterKey.fill(0x33);
        if (version == Version::Wpa2) {
            context.wpaElement =
                RsnElement::build(group, pairwise, RsnElement::kKeyManagementPsk, 0x000C);
            context.authenticationMode = toDriver(AuthenticationMode::Wpa2Psk);
            config.rsn = true;
        } else {
            context.wpaElement = WpaElement::build(group, pairwise, WpaElement::kKeyManagementPsk);
        }
        context.pairwiseCipher = pairwise;
        context.groupCipher = pairwise;
        context.installKey = [this](std::span<const std::uint8_t, 8> rsc,
                                    std::span<const std::uint8_t> key, int index, int type) {
            installs.push_back(
                {Bytes(rsc.begin(), rsc.end()), Bytes(key.begin(), key.end()), index, type});
        };
        config.masterKey = context.pairwiseMasterKey;
        config.pairwiseCipher = pairwise;
        config.groupCipher = group;
        config.element = context.wpaElement;
        config.groupKey.resize(groupKeyBytes);
        for (std::size_t i = 0; i < groupKeyBytes; ++i) {
            config.groupKey[i] = static_cast<std::uint8_t>(0x80 + i);
        }
    }

    KeyAuthenticator& authenticator() {
        if (!auth) {
            auth.emplace(
                config, [this](Bytes f) { link.toStation.push_back(std::move(f)); },
                [this]() -> std::optional<Bytes> {
                    if (link.toAccessPoint.empty())
                        return std::nullopt;
                    Bytes f = std::move(link.toAccessPoint.front());
                    link.toAccessPoint.pop_front();
                    return f;
                });
        }
        return *auth;
    }

    bool begin() { return handshake.begin(context, config.address); }

    // Runs both ends until neither has anything left to say.
    void exchange() {
        for (int i = 0; i < 20 && (!link.toStation.empty() || !link.toAccessPoint.empty()); ++i) {
            if (!link.toStation.empty()) {
                handshake.step(context);
            }
            while (authenticator().handle()) {
            }
        }
    }

    bool runFull() {
        if (!begin())
            return false;
        authenticator().sendMessage1();
        exchange();
        return handshake.negotiated();
    }

    testing::LoopbackEapol link;
    VirtualClock clock;
    FixedNonces nonces;
    crypto::Rc4Cipher rc4;
    KeyHandshake handshake{link, clock, nonces, rc4};
    KeyNegotiationContext context;
    KeyAuthenticator::Config config;
    std::optional<KeyAuthenticator> auth;
    std::vector<Installed> installs;
};

struct CipherCase {
    const char* name;
    int pairwise;
    int group;
    std::size_t groupKeyBytes;
    Version version = Version::Wpa;
};

class KeyHandshakeCipherTest : public ::testing::TestWithParam<CipherCase> {};

TEST_P(KeyHandshakeCipherTest, InstallsThePairwiseThenTheGroupKey) {
    const CipherCase& c = GetParam();
    Bed bed(c.pairwise, c.group, c.groupKeyBytes, c.version);
    ASSERT_TRUE(bed.runFull());
    const auto& auth = bed.authenticator();
    EXPECT_TRUE(auth.pairwiseDone);
    // WPA2 hands the group key over in message 3: no group-key handshake.
    EXPECT_EQ(auth.groupAnswers, c.version == Version::Wpa2 ? 0 : 1);
    EXPECT_EQ(auth.micFailures, 0);
    ASSERT_EQ(bed.installs.size(), 2u);
    const auto tk = auth.keys().temporalKey();
    EXPECT_EQ(bed.installs[0].key, Bytes(tk.begin(), tk.end()));
    EXPECT_EQ(bed.installs[0].key.size(), c.pairwise == ciphercode::kTkip ? 32u : 16u);
    EXPECT_EQ(bed.installs[0].type, 0);
    EXPECT_EQ(bed.installs[0].index, 0);
    EXPECT_EQ(bed.installs[0].rsc, Bytes(8, 0));
    // A WEP group key keeps its own length.
    EXPECT_EQ(bed.installs[1].key, bed.config.groupKey);
    EXPECT_EQ(bed.installs[1].type, 1);
    EXPECT_EQ(bed.installs[1].index, 1);
    EXPECT_EQ(bed.installs[1].rsc,
              Bytes(bed.config.groupSequence.begin(), bed.config.groupSequence.end()));
    EXPECT_EQ(bed.handshake.droppedFrames(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ciphers, KeyHandshakeCipherTest,
    ::testing::Values(
        CipherCase{"Tkip", ciphercode::kTkip, ciphercode::kTkip, 32},
        CipherCase{"Ccmp", ciphercode::kCcmp, ciphercode::kCcmp, 16},
        CipherCase{"TkipWep104", ciphercode::kTkip, ciphercode::kWep104, 13},
        CipherCase{"CcmpWep40", ciphercode::kCcmp, ciphercode::kWep40, 5},
        CipherCase{"CcmpTkip", ciphercode::kCcmp, ciphercode::kTkip, 32},
        CipherCase{"Wpa2Ccmp", ciphercode::kCcmp, ciphercode::kCcmp, 16, Version::Wpa2},
        CipherCase{"Wpa2Tkip", ciphercode::kTkip, ciphercode::kTkip, 32, Version::Wpa2},
        CipherCase{"Wpa2CcmpTkip", ciphercode::kCcmp, ciphercode::kTkip, 32, Version::Wpa2},
        CipherCase{"Wpa2TkipWep40", ciphercode::kTkip, ciphercode::kWep40, 5, Version::Wpa2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyHandshakeTest, WrongMasterKeyInstallsNothing) {
    for (bool authenticatorAnswersAnyway : {false, true}) {
        Bed bed(ciphercode::kCcmp, ciphercode::kCcmp, 16);
        bed.config.masterKey.fill(0x34);
        bed.config.ignoreMessage2Mic = authenticatorAnswersAnyway;
        EXPECT_FALSE(bed.runFull());
        EXPECT_TRUE(bed.installs.empty());
        EXPECT_EQ(bed.authenticator().micFailures, 1);
        EXPECT_EQ(bed.handshake.droppedFrames(), authenticatorAnswersAnyway ? 1 : 0);
        EXPECT_EQ(bed.handshake.state(), KeyHandshake::State::AwaitingMessage3);
    }
}

TEST(KeyHandshakeTest, ReplayedFramesAreDroppedAndANewGroupKeyIsInstalled) {
    Bed bed(ciphercode::kTkip, ciphercode::kTkip, 32);
    ASSERT_TRUE(bed.runFull());
    const auto sent = bed.authenticator().sent;  // message 1, 3 and the group message
    ASSERT_EQ(sent.size(), 3u);
    for (const Bytes& old : sent) {
        bed.link.toStation.push_back(old);
        bed.handshake.step(bed.context);
    }
    EXPECT_EQ(bed.handshake.droppedFrames(), 3);
    EXPECT_TRUE(bed.link.toAccessPoint.empty());
    EXPECT_EQ(bed.installs.size(), 2u);
}

TEST(KeyHandshakeTest, GroupRekeyInstallsOnlyANewKey) {
    Bed bed(ciphercode::kCcmp, ciphercode::kCcmp, 16);
    ASSERT_TRUE(bed.runFull());
    // The same key again under a new counter (a retransmission) is answered, not reinstalled.
    bed.authenticator().sendGroupMessage();
    bed.exchange();
    EXPECT_EQ(bed.authenticator().groupAnswers, 2);
    EXPECT_EQ(bed.installs.size(), 2u);
    // A new key under the other index is installed with its sequence counter.
    bed.authenticator().rekey(Bytes(16, 0x77), 2);
    bed.exchange();
    EXPECT_EQ(bed.authenticator().groupAnswers, 3);
    ASSERT_EQ(bed.installs.size(), 3u);
    EXPECT_EQ(bed.installs[2].key, Bytes(16, 0x77));
    EXPECT_EQ(bed.installs[2].index, 2);
    EXPECT_TRUE(bed.handshake.negotiated());
}

TEST(KeyHandshakeTest, RetransmittedMessage3IsAnsweredWithoutReinstalling) {
    Bed bed(ciphercode::kCcmp, ciphercode::kCcmp, 16);
    ASSERT_TRUE(bed.begin());
    bed.authenticator().sendMessage1();
    bed.handshake.step(bed.context);  // message 2 goes out
    bed.authenticator().handle();     // message 3 comes back
    Bytes m3 = bed.link.toStation.back();
    bed.handshake.step(bed.context);  // message 4, pairwise key installed
    bed.link.toAccessPoint.clear();   // ... and message 4 lost
    // The access point sends message 3 again with the next counter.
    auto frame = *EapolKeyFrame::parse(m3);
    frame.replayCounter += 1;
    Bytes again = frame.serialize();
    ASSERT_TRUE(signKeyFrame(again, bed.authenticator().keys().confirmationKey()));
    bed.link.toStation.push_back(again);
    bed.handshake.step(bed.context);
    EXPECT_EQ(bed.link.toAccessPoint.size(), 1u);
    EXPECT_EQ(bed.installs.size(), 1u);
}

struct TamperCase {
    const char* name;
    std::function<void(Bed&)> tamper;
};

TEST(KeyHandshakeTest, TamperedFramesInstallNothing) {
    const TamperCase cases[] = {
        {"element differs from the survey's",
         [](Bed& b) {
             b.config.element = WpaElement::build(ciphercode::kTkip, ciphercode::kTkip, 2);
         }},
        {"element cut short", [](Bed& b) { b.config.element.pop_back(); }},
        {"supplicant expects another descriptor version",
         [](Bed& b) { b.config.pairwiseCipher = ciphercode::kTkip; }},
    };
    for (const auto& c : cases) {
        Bed bed(ciphercode::kCcmp, ciphercode::kCcmp, 16);
        c.tamper(bed);
        EXPECT_FALSE(bed.runFull()) << c.name;
        EXPECT_TRUE(bed.installs.empty()) << c.name;
        EXPECT_GE(bed.handshake.droppedFrames(), 1) << c.name;
    }
    // Any flipped bit of message 3 fails its MIC.
    Bed bed(ciphercode::kTkip, ciphercode::kTkip, 32);
    ASSERT_TRUE(bed.begin());
    bed.authenticator().sendMessage1();
    bed.handshake.step(bed.context);
    bed.authenticator().handle();
    const Bytes m3 = bed.link.toStation.back();
    bed.link.toStation.clear();
    for (std::size_t at :
         {std::size_t{10}, std::size_t{50}, EapolKeyFrame::kMicOffset, m3.size() - 1}) {
        Bytes bad = m3;
        bad[at] ^= 0x04;
        bed.link.toStation.push_back(bad);
        bed.handshake.step(bed.context);
    }
    EXPECT_TRUE(bed.installs.empty());
    EXPECT_EQ(bed.handshake.droppedFrames(), 4);
}

TEST(KeyHandshakeTest, StepWaitsABoundedTimeThroughTheClock) {
    Bed bed(ciphercode::kCcmp, ciphercode::kCcmp, 16);
    ASSERT_TRUE(bed.begin());
    const auto before = bed.clock.nowMs();
    EXPECT_FALSE(bed.handshake.step(bed.context));
    EXPECT_GE(bed.clock.nowMs() - before, KeyHandshake::kStepWaitMs);
    EXPECT_LE(bed.clock.nowMs() - before, KeyHandshake::kStepWaitMs + KeyHandshake::kPollMs);
    // A frame that is waiting is handled at once.
    bed.authenticator().sendMessage1();
    const auto later = bed.clock.nowMs();
    bed.handshake.step(bed.context);
    EXPECT_EQ(bed.clock.nowMs(), later);
    EXPECT_EQ(bed.link.toAccessPoint.size(), 1u);
}

TEST(KeyHandshakeTest, RefusesWhatItCannotNegotiate) {
    Bed wep(ciphercode::kWep104, ciphercode::kWep104);
    wep.context.wpaElement.clear();
    EXPECT_FALSE(wep.begin());
    // Frames before begin() are dropped.
    Bed idle(ciphercode::kCcmp, ciphercode::kCcmp, 16);
    idle.authenticator().sendMessage1();
    idle.handshake.step(idle.context);
    EXPECT_EQ(idle.handshake.droppedFrames(), 1);
    EXPECT_TRUE(idle.link.toAccessPoint.empty());
}

TEST(KeyHandshakeTest, WpaNoneInstallsThePassphraseKeyAtOnce) {
    for (int cipher : {ciphercode::kTkip, ciphercode::kCcmp}) {
        Bed bed(cipher, cipher);
        bed.context.wpaElement = WpaElement::build(cipher, cipher, WpaElement::kKeyManagementNone);
        ASSERT_TRUE(bed.begin());
        EXPECT_TRUE(bed.handshake.negotiated());
        ASSERT_EQ(bed.installs.size(), 1u);
        const std::size_t bytes = cipher == ciphercode::kTkip ? 32 : 16;
        EXPECT_EQ(bed.installs[0].key, Bytes(bytes, 0x33));
        EXPECT_EQ(bed.installs[0].type, 1);
        EXPECT_EQ(bed.installs[0].index, 0);
        EXPECT_TRUE(bed.link.toAccessPoint.empty());
    }
}

// The station's element in message 2 names the one pairwise cipher and key management it took,
// descriptor 2 throughout.
TEST(KeyHandshakeTest, Wpa2Message2CarriesTheStationsRsnElement) {
    Bed bed(ciphercode::kCcmp, ciphercode::kTkip, 32, Version::Wpa2);
    // An access point offering TKIP and CCMP pairwise, and 802.1X besides the pre-shared key.
    bed.context.wpaElement = bed.config.element =
        testing::hexBytes("301c 0100 000fac02 0200 000fac02000fac04 0200 000fac01000fac02 0000");
    bed.context.pairwiseCipher = ciphercode::kTkip;  // the stored encryption, offered
    bed.config.pairwiseCipher = ciphercode::kTkip;
    ASSERT_TRUE(bed.runFull());
    EXPECT_EQ(bed.authenticator().stationElement(),
              RsnElement::build(ciphercode::kTkip, ciphercode::kTkip, 2, 0));
    const auto m2 = EapolKeyFrame::parse(bed.authenticator().sent.front());
    ASSERT_TRUE(m2);
    EXPECT_EQ(m2->descriptorType, EapolKeyFrame::kDescriptorRsn);
    EXPECT_EQ(m2->descriptorVersion(), keyinfo::kVersionMd5Rc4);
}

struct Wpa2TamperCase {
    const char* name;
    std::function<void(Bed&)> tamper;
};

// Message 3 of WPA2 is dropped, and nothing installed, unless its key data holds what
// 802.11i 8.5.3.3 asks for.
TEST(KeyHandshakeTest, Wpa2Message3WithoutTheRightKeyDataInstallsNothing) {
    const Wpa2TamperCase cases[] = {
        {"element differs from the beacon's (a downgrade to TKIP)",
         [](Bed& b) {
             b.config.element = RsnElement::build(ciphercode::kCcmp, ciphercode::kTkip, 2, 0x000C);
         }},
        {"element with other capabilities",
         [](Bed& b) {
             b.config.element = RsnElement::build(ciphercode::kCcmp, ciphercode::kCcmp, 2, 0);
         }},
        {"no element", [](Bed& b) { b.config.element.clear(); }},
        {"second element names another pairwise cipher",
         [](Bed& b) {
             b.config.extraKeyData = RsnElement::build(ciphercode::kCcmp, ciphercode::kTkip, 2, 0);
         }},
        {"group key too short for CCMP", [](Bed& b) { b.config.groupKey.resize(13); }},
        {"group key too long for CCMP", [](Bed& b) { b.config.groupKey.resize(32, 0x11); }},
        {"no group key", [](Bed& b) { b.config.groupKey.clear(); }},
        {"key data not encrypted", [](Bed& b) { b.config.plainKeyData = true; }},
        {"overlong KDE",
         [](Bed& b) { b.config.extraKeyData = {0xDD, 0x7F, 0x00, 0x0F, 0xAC, 0x01, 0x01, 0x00}; }},
    };
    for (const auto& c : cases) {
        Bed bed(ciphercode::kCcmp, ciphercode::kCcmp, 16, Version::Wpa2);
        c.tamper(bed);
        EXPECT_FALSE(bed.runFull()) << c.name;
        EXPECT_TRUE(bed.installs.empty()) << c.name;
        EXPECT_EQ(bed.handshake.droppedFrames(), 1) << c.name;
        EXPECT_FALSE(bed.authenticator().pairwiseDone) << c.name;  // no message 4 went out
    }
    // A second element naming the pairwise cipher taken is fine, and PMKIDs are skipped.
    Bed bed(ciphercode::kCcmp, ciphercode::kCcmp, 16, Version::Wpa2);
    bed.config.extraKeyData = RsnElement::build(ciphercode::kCcmp, ciphercode::kCcmp, 2, 0);
    bed.config.extraKeyData.insert(bed.config.extraKeyData.end(),
                                   {0xDD, 0x14, 0x00, 0x0F, 0xAC, 0x04});
    bed.config.extraKeyData.resize(bed.config.extraKeyData.size() + 16, 0x77);
    EXPECT_TRUE(bed.runFull());
    EXPECT_EQ(bed.installs.size(), 2u);
}

TEST(KeyHandshakeTest, Wpa2RekeyAndRetransmittedMessage3) {
    Bed bed(ciphercode::kCcmp, ciphercode::kCcmp, 16, Version::Wpa2);
    ASSERT_TRUE(bed.runFull());
    ASSERT_EQ(bed.installs.size(), 2u);
    // Message 4 lost: message 3 again, with the next counter, is answered, nothing reinstalled.
    bed.link.toAccessPoint.clear();
    auto m3 = *EapolKeyFrame::parse(bed.authenticator().sent.back());
    m3.replayCounter = ++bed.authenticator().counter;
    Bytes again = m3.serialize();
    ASSERT_TRUE(signKeyFrame(again, bed.authenticator().keys().confirmationKey()));
    bed.link.toStation.push_back(again);
    bed.handshake.step(bed.context);
    EXPECT_EQ(bed.link.toAccessPoint.size(), 1u);
    EXPECT_EQ(bed.installs.size(), 2u);
    bed.link.toAccessPoint.clear();
    // A rekey: the group-key handshake with a KDE under index 2.
    bed.authenticator().rekey(Bytes(16, 0x77), 2);
    bed.exchange();
    EXPECT_EQ(bed.authenticator().groupAnswers, 1);
    ASSERT_EQ(bed.installs.size(), 3u);
    EXPECT_EQ(bed.installs[2].key, Bytes(16, 0x77));
    EXPECT_EQ(bed.installs[2].index, 2);
    EXPECT_EQ(bed.installs[2].type, 1);
    // A group key of the wrong length for the cipher is dropped.
    bed.authenticator().rekey(Bytes(5, 0x55), 1);
    bed.exchange();
    EXPECT_EQ(bed.installs.size(), 3u);
    EXPECT_EQ(bed.handshake.droppedFrames(), 1);
}

struct KeyManagementCase {
    const char* name;
    AuthenticationMode stored;
    std::uint8_t offered;
    bool negotiates;
};

// An RSN element is negotiated only for a WPA2 mode, and only when it offers the key
// management that mode asks for.
TEST(KeyHandshakeTest, Wpa2NegotiatesOnlyTheKeyManagementTheStoredModeAsksFor) {
    const KeyManagementCase cases[] = {
        {"WPA2-PSK, PSK offered", AuthenticationMode::Wpa2Psk, 2, true},
        {"WPA2, 802.1X offered", AuthenticationMode::Wpa2, 1, true},
        {"WPA2-PSK, only 802.1X offered", AuthenticationMode::Wpa2Psk, 1, false},
        {"WPA2, only PSK offered", AuthenticationMode::Wpa2, 2, false},
        {"WPA-PSK with an RSN element", AuthenticationMode::WpaPsk, 2, false},
        {"WPA-None with an RSN element", AuthenticationMode::WpaNone, 2, false},
    };
    for (const auto& c : cases) {
        Bed bed(ciphercode::kCcmp, ciphercode::kCcmp, 16, Version::Wpa2);
        bed.context.wpaElement =
            RsnElement::build(ciphercode::kCcmp, ciphercode::kCcmp, c.offered, 0);
        bed.context.authenticationMode = toDriver(c.stored);
        EXPECT_EQ(bed.begin(), c.negotiates) << c.name;
        EXPECT_TRUE(bed.installs.empty()) << c.name;
    }
    // Unknown ciphers or a malformed element negotiate nothing either.
    for (const char* element : {"3014 0100 000fac04 0100 000fac08 0100 000fac02 0000",
                                "3014 0100 000fac09 0100 000fac04 0100 000fac02 0000",
                                "3014 0100 000fac04 0500 000fac04 0100 000fac02 0000"}) {
        Bed bed(ciphercode::kCcmp, ciphercode::kCcmp, 16, Version::Wpa2);
        bed.context.wpaElement = testing::hexBytes(element);
        EXPECT_FALSE(bed.begin()) << element;
    }
}

TEST(KeyHandshakeTest, FramesOfTheOtherDescriptorAreDropped) {
    for (const Version version : {Version::Wpa, Version::Wpa2}) {
        Bed bed(ciphercode::kCcmp, ciphercode::kCcmp, 16, version);
        ASSERT_TRUE(bed.begin());
        bed.config.rsn = version == Version::Wpa;  // the access point speaks the other one
        bed.authenticator().sendMessage1();
        bed.handshake.step(bed.context);
        EXPECT_EQ(bed.handshake.droppedFrames(), 1);
        EXPECT_TRUE(bed.link.toAccessPoint.empty());
    }
}

}  // namespace
}  // namespace rizorivu::dot1x
