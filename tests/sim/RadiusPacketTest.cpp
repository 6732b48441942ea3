// The RADIUS codec the access point's relay trusts: EAP-Message splitting, both
// authenticators, MS-MPPE key decryption, and replies that lie about their lengths.

#include <gtest/gtest.h>

#include <functional>

#include "adapter/EapPacket.h"
#include "crypto/MessageIntegrity.h"
#include "sim/RadiusPacket.h"
#include "sim/RadiusReply.h"
#include "tests/support/RadiusTestServer.h"

namespace rizorivu::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kSecret = "table secret";
const Bytes kSecretBytes(kSecret.begin(), kSecret.end());

RadiusPacket request() {
    RadiusPacket p;
    p.code = radius::kAccessRequest;
    p.identifier = 42;
    for (std::size_t i = 0; i < p.authenticator.size(); ++i) {
        p.authenticator[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    p.addText(radius::kUserName, "student");
    return p;
}

Bytes masterKey() {
    Bytes key(32);
    for (std::size_t i = 0; i < key.size(); ++i) {
        key[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    return key;
}

RadiusPacket accept(const RadiusPacket& req, std::array<std::uint8_t, 2> salt = {0x81, 0x23}) {
    RadiusPacket a;
    a.code = radius::kAccessAccept;
    a.identifier = req.identifier;
    a.addEapMessage(eapStatus(eap::kSuccess, 5));
    a.add(radius::kVendorSpecific,
          testing::microsoftAttribute(
              radius::kMsMppeRecvKey,
              testing::hideMppeKey(masterKey(), kSecret, req.authenticator, salt)));
    return a;
}

TEST(RadiusPacketTest, EapMessageIsSplitAt253BytesAndJoinedInOrder) {
    struct Case {
        std::size_t bytes;
        std::size_t attributes;
    };
    for (const Case c : {Case{1, 1}, Case{253, 1}, Case{254, 2}, Case{506, 2}, Case{1400, 6}}) {
        Bytes eap(c.bytes);
        for (std::size_t i = 0; i < eap.size(); ++i) {
            eap[i] = static_cast<std::uint8_t>(i);
        }
        RadiusPacket p = request();
        p.addEapMessage(eap);
        const auto wire = p.encodeRequest(kSecretBytes);
        ASSERT_TRUE(wire);
        const auto back = RadiusPacket::parse(*wire);
        ASSERT_TRUE(back);
        EXPECT_EQ(std::count_if(back->attributes.begin(), back->attributes.end(),
                                [](const auto& a) { return a.type == radius::kEapMessage; }),
                  static_cast<std::ptrdiff_t>(c.attributes))
            << c.bytes;
        EXPECT_EQ(back->eapMessage(), eap) << c.bytes;
    }
}

TEST(RadiusPacketTest, RequestCarriesMessageAuthenticatorOverTheZeroedPacket) {
    const auto wire = request().encodeRequest(kSecretBytes);
    ASSERT_TRUE(wire);
    const auto p = RadiusPacket::parse(*wire);
    ASSERT_TRUE(p);
    const RadiusAttribute* field = p->find(radius::kMessageAuthenticator);
    ASSERT_NE(field, nullptr);
    ASSERT_EQ(field->value.size(), 16u);
    Bytes zeroed = *wire;
    std::fill(zeroed.end() - 16, zeroed.end(), 0);  // it is the last attribute
    crypto::Mic mic{};
    ASSERT_TRUE(crypto::hmacMd5(kSecretBytes, zeroed, mic));
    EXPECT_TRUE(std::equal(mic.begin(), mic.end(), field->value.begin()));
}

TEST(RadiusPacketTest, OversizedRequestIsRefused) {
    RadiusPacket p = request();
    p.addEapMessage(Bytes(4100, 1));
    EXPECT_FALSE(p.encodeRequest(kSecretBytes));
    EXPECT_FALSE(p.add(radius::kState, Bytes(254, 1)));
    EXPECT_FALSE(p.add(radius::kState, Bytes{}));
}

TEST(RadiusPacketTest, AcceptIsBelievedWithItsMasterKey) {
    const RadiusPacket req = request();
    const auto wire = accept(req).encodeReply(req.authenticator, kSecretBytes);
    ASSERT_TRUE(wire);
    const auto reply = RadiusReply::read(*wire, req, kSecretBytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->code, radius::kAccessAccept);
    EXPECT_EQ(reply->eap, eapStatus(eap::kSuccess, 5));
    ASSERT_TRUE(reply->masterKey);
    EXPECT_TRUE(
        std::equal(reply->masterKey->begin(), reply->masterKey->end(), masterKey().begin()));
}

TEST(RadiusPacketTest, ChallengeStateIsKept) {
    const RadiusPacket req = request();
    RadiusPacket c;
    c.code = radius::kAccessChallenge;
    c.identifier = req.identifier;
    c.add(radius::kState, Bytes{9, 8, 7});
    const auto reply =
        RadiusReply::read(*c.encodeReply(req.authenticator, kSecretBytes), req, kSecretBytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->state, (Bytes{9, 8, 7}));
    EXPECT_FALSE(reply->masterKey);
}

// Each reply is refused: not one of them may be believed or read out of bounds.
TEST(RadiusPacketTest, UntrustworthyRepliesAreRefused) {
    const RadiusPacket req = request();
    const Bytes good = *accept(req).encodeReply(req.authenticator, kSecretBytes);
    struct Case {
        const char* name;
        std::function<Bytes()> make;
    };
    const std::vector<Case> cases = {
        {"wrong secret", [&] { return *accept(req).encodeReply(req.authenticator, Bytes{'x'}); }},
        {"no Message-Authenticator",
         [&] { return *accept(req).encodeReply(req.authenticator, kSecretBytes, false); }},
        {"Message-Authenticator flipped",
         [&] {
             Bytes b = good;
             b[b.size() - 1] ^= 1;
             return b;
         }},
        {"response authenticator flipped",
         [&] {
             Bytes b = good;
             b[4] ^= 1;
             return b;
         }},
        {"other identifier",
         [&] {
             RadiusPacket a = accept(req);
             a.identifier = 43;
             return *a.encodeReply(req.authenticator, kSecretBytes);
         }},
        {"a request's code",
         [&] {
             RadiusPacket a = accept(req);
             a.code = radius::kAccessRequest;
             return *a.encodeReply(req.authenticator, kSecretBytes);
         }},
        {"length beyond the bytes",
         [&] {
             Bytes b = good;
             b[3] = static_cast<std::uint8_t>(b[3] + 1);
             return b;
         }},
        {"length below the header",
         [&] {
             return Bytes{2, 42, 0, 19, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
         }},
        {"shorter than a header",
         [&] {
             return Bytes{2, 42, 0, 4};
         }},
        {"attribute overruns",
         [&] {
             Bytes b = good;
             b[radius::kHeaderBytes + 1] = 0xFF;
             return b;
         }},
        {"attribute length one",
         [&] {
             Bytes b = good;
             b[radius::kHeaderBytes + 1] = 1;
             return b;
         }},
        {"over 4096 bytes",
         [&] {
             return Bytes{2, 42, 0x10, 0x01};
         }},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(RadiusReply::read(c.make(), req, kSecretBytes)) << c.name;
    }
}

TEST(RadiusPacketTest, AcceptWithoutAUsableKeyHasNoMasterKey) {
    const RadiusPacket req = request();
    struct Case {
        const char* name;
        Bytes vsa;
    };
    const auto hidden = testing::hideMppeKey(masterKey(), kSecret, req.authenticator, {0x81, 0x23});
    Bytes badPadding = testing::hideMppeKey(masterKey(), kSecret, req.authenticator, {0x81, 0x23});
    badPadding.back() ^= 1;  // a padding byte that is not zero
    const std::vector<Case> cases = {
        {"none", {}},
        {"send key only", testing::microsoftAttribute(radius::kMsMppeSendKey, hidden)},
        {"salt without its top bit",
         testing::microsoftAttribute(
             radius::kMsMppeRecvKey,
             testing::hideMppeKey(masterKey(), kSecret, req.authenticator, {0x01, 0x23}))},
        {"padding not zero", testing::microsoftAttribute(radius::kMsMppeRecvKey, badPadding)},
        {"not whole blocks", testing::microsoftAttribute(radius::kMsMppeRecvKey,
                                                         Bytes(hidden.begin(), hidden.end() - 1))},
        {
            "16-byte key",
            testing::microsoftAttribute(
                radius::kMsMppeRecvKey,
                testing::hideMppeKey(Bytes(16, 5), kSecret, req.authenticator, {0x81, 0})),
        },
        {"other vendor", Bytes{0, 0, 0x01, 0x38, 17, 4, 1, 2}},
        {"vendor attribute overruns", Bytes{0, 0, 0x01, 0x37, 17, 40, 1, 2}},
    };
    for (const Case& c : cases) {
        RadiusPacket a;
        a.code = radius::kAccessAccept;
        a.identifier = req.identifier;
        if (!c.vsa.empty()) {
            a.add(radius::kVendorSpecific, c.vsa);
        }
        const auto reply =
            RadiusReply::read(*a.encodeReply(req.authenticator, kSecretBytes), req, kSecretBytes);
        ASSERT_TRUE(reply) << c.name;
        EXPECT_FALSE(reply->masterKey) << c.name;
    }
}

TEST(RadiusPacketTest, MppeKeyDecryptsForEveryLengthAndSalt) {
    const RadiusAuthenticator auth = request().authenticator;
    for (const std::size_t bytes : {0u, 1u, 15u, 16u, 32u, 64u}) {
        Bytes key(bytes, 0x5A);
        const auto hidden = testing::hideMppeKey(key, kSecret, auth, {0xFF, 0x01});
        EXPECT_EQ(RadiusReply::decryptMppeKey(hidden, kSecretBytes, auth), key) << bytes;
        RadiusAuthenticator other = auth;
        other[0] ^= 1;
        EXPECT_NE(RadiusReply::decryptMppeKey(hidden, kSecretBytes, other), key) << bytes;
    }
}

}  // namespace
}  // namespace rizorivu::sim
