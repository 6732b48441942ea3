// The EAP exchange of the 802.1X library against a server double: EAP-TLS and PEAP with
// fragments both ways, the key both sides derive, refused servers and passwords, and frames
// that lie.

#include <gtest/gtest.h>

#include <openssl/rand.h>

#include "adapter/EapPacket.h"
#include "crypto/RandomNonceSource.h"
#include "dot1x/EapSupplicant.h"
#include "dot1x/EapTlsFragments.h"
#include "platform/Clock.h"
#include "tests/dot1x/CertificateForge.h"
#include "tests/dot1x/EapCertificates.h"
#include "tests/dot1x/EapServerDouble.h"

namespace rizorivu::dot1x {
namespace {

using testing::CertificateForge;
using Certificates = testing::EapCertificates;
using testing::EapServerDouble;
using testing::LoopbackEapol;
using Bytes = std::vector<std::uint8_t>;
using State = EapSupplicant::State;

constexpr std::uint8_t kLength = EapTlsFragments::kLengthIncluded;
constexpr std::uint8_t kMore = EapTlsFragments::kMoreFragments;
constexpr std::uint8_t kStart = EapTlsFragments::kStart;

struct Exchange {
    Exchange(const EapolConfig& config) : supplicant(link, clock, config, nonces, &msChapV2) {
        supplicant.start();
    }
    // Steps until authenticated or out of steps; the server answers between steps.
    bool run(EapServerDouble& server, int steps = 200) {
        for (int i = 0; i < steps; ++i) {
            if (supplicant.step()) {
                return true;
            }
            server.serve(link);
        }
        return false;
    }
    Bytes key() const {
        Bytes k(32);
        supplicant.masterKey(std::span<std::uint8_t, 32>(k.data(), 32));
        return k;
    }

    LoopbackEapol link;
    VirtualClock clock;
    crypto::RandomNonceSource nonces;
    crypto::MsChapV2 msChapV2;
    EapSupplicant supplicant;
};

TEST(EapSupplicantTest, AuthenticatesAndSharesTheServersKey) {
    const Certificates certs;
    struct Case {
        const char* method;
        int fragmentSize;
        std::size_t serverFragmentSize;
        std::uint8_t firstProposal;
        bool wholeIdentityRequest = false;  // the inner identity request with its EAP header
    } cases[] = {
        {"TLS", 64, 200, 0},
        {"TLS", 1398, 1000, eap::kTypeMd5Challenge},
        {"PEAP", 100, 150, 0},
        {"PEAP", 1398, 1000, eap::kTypeTls, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " " + std::to_string(c.fragmentSize));
        const bool tls = std::string(c.method) == "TLS";
        EapServerDouble::Options options(tls ? eap::kTypeTls : eap::kTypePeap, certs.server.get(),
                                         certs.serverKey.get(), tls ? certs.ca.get() : nullptr,
                                         c.serverFragmentSize, "library-card", c.firstProposal);
        if (c.wholeIdentityRequest) {
            options.firstInnerPacket = {eap::kRequest, 0x40, 0, 5, eap::kTypeIdentity};
        }
        EapServerDouble server(options);
        Exchange exchange(certs.config(c.method, c.fragmentSize));
        ASSERT_TRUE(exchange.run(server));
        ASSERT_TRUE(server.succeeded());
        // Not printed: the key is a secret, and no published vector pins it.
        EXPECT_TRUE(exchange.key() == Bytes(server.masterSessionKey().begin(),
                                            server.masterSessionKey().begin() + 32));
        EXPECT_NE(exchange.key(), Bytes(32, 0));
        EXPECT_EQ(server.naksReceived(), c.firstProposal != 0 ? 1 : 0);
        if (c.fragmentSize < 200) {
            EXPECT_GT(server.fragmentsReceived(), 3);  // our flight went in pieces
            EXPECT_GT(server.acksReceived(), 2);       // and we acknowledged each piece of theirs
        }
    }
}

TEST(EapSupplicantTest, RefusesServersAndCredentialsThatFail) {
    const Certificates certs;
    struct Case {
        const char* name;
        const char* method;
        bool impostor;
        std::string password;
    } cases[] = {
        {"TLS, server from an untrusted CA", "TLS", true, "Vodid"},
        {"PEAP, server from an untrusted CA", "PEAP", true, "library-card"},
        {"PEAP, wrong password", "PEAP", false, "library-cart"},
        {"TLS, key password wrong", "TLS", false, "Vodie"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool tls = std::string(c.method) == "TLS";
        EapServerDouble server({tls ? eap::kTypeTls : eap::kTypePeap,
                                c.impostor ? certs.impostor.get() : certs.server.get(),
                                certs.serverKey.get(), tls ? certs.ca.get() : nullptr, 1000,
                                "library-card"});
        EapolConfig config = certs.config(c.method, 1398);
        config.password = c.password;
        Exchange exchange(config);
        EXPECT_FALSE(exchange.run(server, 80));
        EXPECT_EQ(exchange.supplicant.state(), State::Failed);
        EXPECT_EQ(exchange.key(), Bytes(32, 0));
    }
}

TEST(EapSupplicantTest, RefusesPeapInnerPacketsThatLie) {
    const Certificates certs;
    const Bytes cases[] = {
        // Extensions request claiming 20 bytes, carrying 11.
        {eap::kRequest, 9, 0, 20, eap::kTypeExtensions, 0x80, 3, 0, 2, 0, 1},
        // Result TLV running past the packet.
        {eap::kRequest, 9, 0, 11, eap::kTypeExtensions, 0x80, 3, 0, 9, 0, 1},
        // MS-CHAPv2 challenge whose MS-Length claims more than the packet.
        {eap::kTypeMsChapV2, 1, 7, 0, 200, 16, 1, 2, 3},
        // MS-CHAPv2 success before any challenge.
        {eap::kTypeMsChapV2, 3, 7, 0, 6, 'S', '='},
    };
    for (const auto& inner : cases) {
        EapServerDouble::Options options{eap::kTypePeap, certs.server.get(), certs.serverKey.get()};
        options.firstInnerPacket = inner;
        EapServerDouble server(options);
        Exchange exchange(certs.config("PEAP", 1398));
        EXPECT_FALSE(exchange.run(server, 40));
        EXPECT_EQ(exchange.supplicant.state(), State::Failed);
    }
}

// Frames handed to a TLS supplicant that has answered the identity request (id 1).
Bytes request(std::uint8_t id, std::uint8_t type, const Bytes& data) {
    return eapolFrame(eap::kEapolPacket, eapPacket(eap::kRequest, id, type, data));
}
Bytes tlsFragment(std::uint8_t id, std::uint8_t flags, std::size_t bytes, std::size_t total = 0) {
    Bytes data{flags};
    if (flags & kLength) {
        data.insert(data.end(),
                    {static_cast<std::uint8_t>(total >> 24), static_cast<std::uint8_t>(total >> 16),
                     static_cast<std::uint8_t>(total >> 8), static_cast<std::uint8_t>(total)});
    }
    data.resize(data.size() + bytes, 0x16);
    return request(id, eap::kTypeTls, data);
}

TEST(EapSupplicantTest, BadFramesAreRefused) {
    const Certificates certs;
    const Bytes start = request(2, eap::kTypeTls, {kStart});
    std::vector<Bytes> endless{start};
    for (int i = 0; i < 300; ++i) {
        endless.push_back(tlsFragment(static_cast<std::uint8_t>(3 + i), kMore, 10));
    }
    std::vector<Bytes> oversized{start, tlsFragment(3, kLength | kMore, 1000, 65536)};
    for (int i = 0; i < 70; ++i) {
        oversized.push_back(tlsFragment(static_cast<std::uint8_t>(4 + i), kMore, 1000));
    }
    struct Case {
        const char* name;
        std::vector<Bytes> frames;
        State state;
    } cases[] = {
        {"success before the method",
         {start, eapolFrame(0, eapStatus(eap::kSuccess, 2))},
         State::Authenticating},
        {"EAPOL length beyond the frame", {{1, 0, 0, 60, 1, 2, 0, 5, 13}}, State::Authenticating},
        {"EAP length beyond the body",
         {eapolFrame(0, Bytes{eap::kRequest, 2, 0, 90, eap::kTypeTls, kStart})},
         State::Authenticating},
        {"request without a type",
         {eapolFrame(0, Bytes{eap::kRequest, 2, 0, 4})},
         State::Authenticating},
        {"another method once ours ran",
         {start, request(3, eap::kTypeMsChapV2, {1})},
         State::Authenticating},
        {"message announced over 64 KiB",
         {start, tlsFragment(3, kLength | kMore, 100, 70000)},
         State::Failed},
        {"fragments past their announced length", oversized, State::Failed},
        {"fragments that never end", endless, State::Failed},
        {"length and data disagree", {start, tlsFragment(3, kLength, 20, 10)}, State::Failed},
        {"length field cut short",
         {start, request(3, eap::kTypeTls, {kLength, 0, 1})},
         State::Failed},
        {"TLS data before the start", {tlsFragment(2, 0, 10)}, State::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Exchange exchange(certs.config("TLS", 1398));
        exchange.supplicant.handleFrame(request(1, eap::kTypeIdentity, {}));
        for (const auto& frame : c.frames) {
            exchange.supplicant.handleFrame(frame);
        }
        EXPECT_EQ(exchange.supplicant.state(), c.state);
        EXPECT_EQ(exchange.key(), Bytes(32, 0));
    }
}

TEST(EapSupplicantTest, RepeatedRequestGetsTheSameAnswer) {
    const Certificates certs;
    Exchange exchange(certs.config("TLS", 1398));
    exchange.link.toAccessPoint.clear();
    const Bytes start = request(2, eap::kTypeTls, {kStart});
    for (const Bytes& frame :
         {request(1, eap::kTypeIdentity, {}), request(1, eap::kTypeIdentity, {}), start, start}) {
        exchange.supplicant.handleFrame(frame);
    }
    ASSERT_EQ(exchange.link.toAccessPoint.size(), 4u);
    EXPECT_EQ(exchange.link.toAccessPoint[0], exchange.link.toAccessPoint[1]);
    // The second start was not a new TLS step (that would have failed the exchange).
    EXPECT_EQ(exchange.link.toAccessPoint[2], exchange.link.toAccessPoint[3]);
    EXPECT_EQ(exchange.supplicant.state(), State::Authenticating);
}

TEST(EapSupplicantTest, StepIsBoundedAndRepeatsTheStart) {
    const Certificates certs;
    Exchange exchange(certs.config("PEAP", 1398));
    const std::int64_t before = exchange.clock.nowMs();
    for (int i = 0; i < 62; ++i) {
        EXPECT_FALSE(exchange.supplicant.step());
    }
    EXPECT_EQ(exchange.clock.nowMs() - before, 62 * EapSupplicant::kStepWaitMs);
    EXPECT_EQ(exchange.link.toAccessPoint.size(),
              static_cast<std::size_t>(EapSupplicant::kMaxStarts));
}

}  // namespace
}  // namespace rizorivu::dot1x
