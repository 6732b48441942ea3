// The wpa-eap access point as 802.1X authenticator: EAP relayed to a RADIUS server (scripted
// here, or the real FreeRADIUS of the lab), and the Accept's key running the 4-way handshake.

#include <gtest/gtest.h>

#include <openssl/evp.h>

#include "adapter/ByteOrder.h"
#include "adapter/EapPacket.h"
#include "sim/SimulatedAdapter.h"
#include "sim/StationLink.h"
#include "tests/sim/ScriptedStation.h"
#include "tests/sim/SimTestBed.h"
#include "tests/support/FreeRadiusLab.h"
#include "tests/support/RadiusTestServer.h"

namespace rizorivu::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kInfra = 1, kWpa = 3, kAes = 6;
const MacAddress kCorp{0x02, 0x10, 0, 0, 0, 0x10};

std::string corpWorld(std::uint16_t port, const std::string& secret) {
    return testing::testWorld() +
           "[Network.Corp]\nSSID=Corp\nBSSID=02-10-00-00-00-10\nChannel=6\nSignal=-60\n"
           "Security=wpa-eap\nCipher=aes\nRadius=127.0.0.1:" +
           std::to_string(port) + "\nRadiusSecret=" + secret + "\n";
}

Bytes text(std::string_view s) {
    return {s.begin(), s.end()};
}

// A station that speaks EAP by hand through the adapter's EAPOL port.
class RelayTest : public ::testing::Test {
protected:
    void join(std::uint16_t port, const std::string& secret) {
        bed = std::make_unique<testing::SimTestBed>(corpWorld(port, secret));
        ASSERT_TRUE(bed->open());
        bed->configure("Corp", kInfra, kWpa, kAes);
        bed->settle();
        ASSERT_EQ(bed->connectState(), 0);
        this->port = bed->lib().eapolPort(&bed->record);
    }

    // The next EAP packet for the station within `wait` of real time; virtual time moves
    // `stepMs` per poll so that the relay's timers run too.
    std::optional<Bytes> nextEap(std::int64_t stepMs = 0,
                                 std::chrono::milliseconds wait = std::chrono::seconds(5)) {
        const auto until = std::chrono::steady_clock::now() + wait;
        while (std::chrono::steady_clock::now() < until) {
            while (auto frame = port->receiveEapol()) {
                const auto view = EapolFrameView::parse(*frame);
                if (view && view->packetType == eap::kEapolPacket) {
                    return Bytes(view->body.begin(), view->body.end());
                }
                keyFrames.push_back(*frame);
            }
            bed->clock.advance(stepMs);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return std::nullopt;
    }

    void respond(std::uint8_t id, std::uint8_t type, const Bytes& data) {
        port->sendEapol(eapolFrame(eap::kEapolPacket, eapPacket(eap::kResponse, id, type, data)));
    }

    // Identity, then the MD5 challenge answered with `password`: the EAP code that ends it.
    int md5Login(std::string_view identity, std::string_view password) {
        auto request = nextEap();
        if (!request) {
            return -1;
        }
        auto view = EapPacketView::parse(*request);
        EXPECT_EQ(view->type, eap::kTypeIdentity);
        respond(view->identifier, eap::kTypeIdentity, text(identity));
        request = nextEap();
        view = request ? EapPacketView::parse(*request) : std::nullopt;
        if (!view || view->code != eap::kRequest) {
            return view ? view->code : -1;
        }
        EXPECT_EQ(view->type, eap::kTypeMd5Challenge);
        if (view->data.empty() || view->data[0] + 1u > view->data.size()) {
            return -1;
        }
        Bytes input{view->identifier};
        input.insert(input.end(), password.begin(), password.end());
        input.insert(input.end(), view->data.begin() + 1, view->data.begin() + 1 + view->data[0]);
        Bytes answer(17, 16);
        unsigned int size = 0;
        EVP_Digest(input.data(), input.size(), answer.data() + 1, &size, EVP_md5(), nullptr);
        respond(view->identifier, eap::kTypeMd5Challenge, answer);
        request = nextEap();
        view = request ? EapPacketView::parse(*request) : std::nullopt;
        return view ? view->code : -1;
    }

    // The 4-way and group handshakes with `masterKey`, the keys installed: whether data flows.
    bool handshakeCarriesData(const Bytes& masterKey) {
        testing::ScriptedStation station;
        std::copy(masterKey.begin(), masterKey.end(), station.masterKey.begin());
        station.own = {0x02, 0, 0, 0, 0, 0x01};
        station.accessPoint = kCorp;
        for (int round = 0; round < 50; ++round) {
            for (const Bytes& frame : std::exchange(keyFrames, {})) {
                if (auto answer = station.answer(frame)) {
                    port->sendEapol(*answer);
                }
            }
            while (auto frame = port->receiveEapol()) {
                keyFrames.push_back(*frame);
            }
        }
        if (station.groupKey.empty()) {
            return false;
        }
        const Bytes bssid(kCorp.begin(), kCorp.end());
        auto install = [&](bool pairwise, int index, std::span<const std::uint8_t> key) {
            Bytes record(key.size() + 39, 0);
            putLe32(record.data(), static_cast<std::uint32_t>(record.size()));
            putLe32(record.data() + 4,
                    0x20000000u | (pairwise ? 0xC0000000u : static_cast<std::uint32_t>(index)));
            putLe32(record.data() + 8, static_cast<std::uint32_t>(key.size()));
            std::copy(bssid.begin(), bssid.end(), record.begin() + 12);
            std::copy(key.begin(), key.end(), record.begin() + 32);
            return bed->lib().WriteOid(&bed->record, adapterbuf::kOidAddKey, record.data(),
                                       static_cast<int>(record.size()));
        };
        EXPECT_EQ(install(true, 0, station.temporalKey()), 0);
        EXPECT_EQ(install(false, station.groupIndex, station.groupKey), 0);
        const FrameCounts start = bed->counts();
        bed->clock.advance(2'000);
        return bed->counts().received > start.received;
    }

    // Installs made-up keys: they must carry nothing before the handshake.
    bool anyKeyCarriesData() {
        Bytes record(16 + 39, 0);
        putLe32(record.data(), static_cast<std::uint32_t>(record.size()));
        putLe32(record.data() + 4, 0xE0000000u);
        putLe32(record.data() + 8, 16);
        std::copy(kCorp.begin(), kCorp.end(), record.begin() + 12);
        bed->lib().WriteOid(&bed->record, adapterbuf::kOidAddKey, record.data(), 55);
        putLe32(record.data() + 4, 0x20000001u);
        bed->lib().WriteOid(&bed->record, adapterbuf::kOidAddKey, record.data(), 55);
        const FrameCounts start = bed->counts();
        bed->clock.advance(2'000);
        return bed->counts().received > start.received;
    }

    std::unique_ptr<testing::SimTestBed> bed;
    std::shared_ptr<EapolPort> port;
    std::vector<Bytes> keyFrames;
};

Bytes demoKey() {
    Bytes key(32);
    for (std::size_t i = 0; i < key.size(); ++i) {
        key[i] = static_cast<std::uint8_t>(0xC0 ^ i);
    }
    return key;
}

// A scripted server: the request's contents, then an Accept (as after PEAP or TLS) whose
// MS-MPPE-Recv-Key the access point's handshake has to use.
TEST_F(RelayTest, AcceptsKeyBecomesTheHandshakesMasterKey) {
    ::rizorivu::testing::RadiusTestServer server;
    const std::string secret = "scripted secret";
    join(server.port(), secret);
    EXPECT_FALSE(anyKeyCarriesData()) << "no data before 802.1X and the handshake";
    const auto request = nextEap();
    ASSERT_TRUE(request);
    const auto view = EapPacketView::parse(*request);
    respond(view->identifier, eap::kTypeIdentity, text("student"));
    const auto got = server.request();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->code, radius::kAccessRequest);
    EXPECT_EQ(got->find(radius::kUserName)->value, text("student"));
    EXPECT_EQ(got->find(radius::kCallingStationId)->value, text("02-00-00-00-00-01"));
    EXPECT_EQ(got->find(radius::kNasPortType)->value, (Bytes{0, 0, 0, 19}));
    EXPECT_EQ(EapPacketView::parse(got->eapMessage())->type, eap::kTypeIdentity);
    ASSERT_NE(got->find(radius::kMessageAuthenticator), nullptr);

    // A forged answer (wrong secret) is dropped; the true one counts.
    RadiusPacket accept;
    accept.code = radius::kAccessAccept;
    accept.identifier = got->identifier;
    accept.addEapMessage(eapStatus(eap::kSuccess, view->identifier));
    accept.add(
        radius::kVendorSpecific,
        ::rizorivu::testing::microsoftAttribute(
            radius::kMsMppeRecvKey,
            ::rizorivu::testing::hideMppeKey(demoKey(), secret, got->authenticator, {0x80, 0x01})));
    server.answer(*accept.encodeReply(got->authenticator, text("forged")));
    server.answer(*accept.encodeReply(got->authenticator, text(secret)));
    const auto status = nextEap();
    ASSERT_TRUE(status);
    EXPECT_EQ(EapPacketView::parse(*status)->code, eap::kSuccess);
    EXPECT_TRUE(handshakeCarriesData(demoKey()));
}

TEST_F(RelayTest, AcceptWithoutKeysOrRejectEndsInFailure) {
    for (const std::uint8_t code : {radius::kAccessAccept, radius::kAccessReject}) {
        ::rizorivu::testing::RadiusTestServer server;
        join(server.port(), "s");
        const auto request = nextEap();
        ASSERT_TRUE(request);
        respond(EapPacketView::parse(*request)->identifier, eap::kTypeIdentity, text("student"));
        const auto got = server.request();
        ASSERT_TRUE(got);
        RadiusPacket reply;
        reply.code = code;
        reply.identifier = got->identifier;
        server.answer(*reply.encodeReply(got->authenticator, text("s")));
        const auto status = nextEap();
        ASSERT_TRUE(status);
        EXPECT_EQ(EapPacketView::parse(*status)->code, eap::kFailure) << int{code};
        EXPECT_FALSE(anyKeyCarriesData());
    }
}

TEST_F(RelayTest, DeadServerFailsWithinTheRetriesAndEapolStartBeginsAgain) {
    join(::rizorivu::testing::FreeRadiusLab::freePort(), "s");
    auto request = nextEap();
    ASSERT_TRUE(request);
    respond(EapPacketView::parse(*request)->identifier, eap::kTypeIdentity, text("student"));
    const std::int64_t begin = bed->clock.nowMs();
    const auto status = nextEap(100);
    ASSERT_TRUE(status);
    EXPECT_EQ(EapPacketView::parse(*status)->code, eap::kFailure);
    EXPECT_LE(bed->clock.nowMs() - begin, RadiusClient::kTimeoutMs * RadiusClient::kMaxSends + 200);
    port->sendEapol(eapolFrame(eap::kEapolStart, {}));
    request = nextEap();
    ASSERT_TRUE(request);
    EXPECT_EQ(EapPacketView::parse(*request)->type, eap::kTypeIdentity);
}

TEST_F(RelayTest, StationRefusedByTheServerIsDeauthenticatedAMomentLater) {
    join(::rizorivu::testing::FreeRadiusLab::freePort(), "s");
    auto request = nextEap();
    ASSERT_TRUE(request);
    respond(EapPacketView::parse(*request)->identifier, eap::kTypeIdentity, text("student"));
    const auto status = nextEap(100);
    ASSERT_TRUE(status);
    ASSERT_EQ(EapPacketView::parse(*status)->code, eap::kFailure);
    EXPECT_EQ(bed->connectState(), 0) << "the failure is delivered before the station goes";
    bed->clock.advance(SimulatedAdapter::kEapFailureDeauthMs);
    EXPECT_NE(bed->connectState(), 0);
    bed->clock.advance(StationLink::kRefusedHandshakeDelayMs / 2);
    EXPECT_NE(bed->connectState(), 0) << "nor may it associate again at once";
}

// Against the real FreeRADIUS of the lab, with EAP-MD5 answered by hand.
class FreeRadiusRelayTest : public RelayTest {
protected:
    static constexpr const char* kKeyedUser =
        "keyed Cleartext-Password := \"keyed-card\"\n"
        "\tMS-MPPE-Recv-Key = 0xc0c1c2c3c4c5c6c7c8c9cacbcccdcecfd0d1d2d3d4d5d6d7d8d9dadbdcdddedf";

    void SetUp() override {
        ASSERT_TRUE(::rizorivu::testing::FreeRadiusLab::installed())
            << "tools/install-deps.sh installs FreeRADIUS";
        lab = std::make_unique<::rizorivu::testing::FreeRadiusLab>(
            ::rizorivu::testing::FreeRadiusLab::Options{"relay-lab-secret", kKeyedUser});
        ASSERT_TRUE(lab->start()) << lab->failure();
        join(lab->port(), lab->secret());
    }

    std::unique_ptr<::rizorivu::testing::FreeRadiusLab> lab;
};

TEST_F(FreeRadiusRelayTest, KeyedAccountSucceedsAndItsKeyCarriesData) {
    EXPECT_EQ(md5Login("keyed", "keyed-card"), eap::kSuccess);
    EXPECT_TRUE(handshakeCarriesData(demoKey()));
}

TEST_F(FreeRadiusRelayTest, WrongPasswordIsRejected) {
    EXPECT_EQ(md5Login("keyed", "wrong-card"), eap::kFailure);
    EXPECT_FALSE(anyKeyCarriesData());
}

// EAP-MD5 derives no key: the server accepts, the access point cannot key the station.
TEST_F(FreeRadiusRelayTest, AcceptWithoutKeysIsRefused) {
    EXPECT_EQ(md5Login("student", "library-card"), eap::kFailure);
}

}  // namespace
}  // namespace rizorivu::sim
