// The library's EAP operations as the WPA worker calls them, over the simulated adapter's
// EAPOL channel to a server double.

#include <gtest/gtest.h>

#include "adapter/EapPacket.h"
#include "dot1x/SoftwareDot1xLibrary.h"
#include "sim/SimulatedAdapterLibrary.h"
#include "tests/dot1x/EapCertificates.h"
#include "tests/dot1x/EapServerDouble.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu::dot1x {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Side = sim::EapolChannel::Side;

constexpr std::array<std::uint8_t, 6> kOwnMac{0x02, 0, 0, 0, 0x05, 0x40};
constexpr std::array<std::uint8_t, 6> kBssid{0x02, 0x10, 0, 0, 0, 0x03};

Bytes derivedKey(SoftwareDot1xLibrary& library) {
    std::array<std::uint8_t, 32> key{};
    key.fill(0xEE);
    library.Get_EAP_Derived_Key_32byte(key);
    return Bytes(key.begin(), key.end());
}

TEST(SoftwareDot1xEapTest, AuthenticatesOverTheAdapterPortAndKeepsTheKey) {
    const testing::EapCertificates certs;
    testing::AdapterTestBed bed(testing::settingsWorld());
    ASSERT_TRUE(bed.open(testing::kK540));
    auto* sim = dynamic_cast<sim::SimulatedAdapterLibrary*>(bed.library.get());
    ASSERT_NE(sim, nullptr);
    const auto channel = sim->eapolChannel(&bed.adapter);
    ASSERT_TRUE(channel);

    for (const char* method : {"TLS", "PEAP"}) {
        SCOPED_TRACE(method);
        const bool tls = std::string(method) == "TLS";
        testing::EapServerDouble server({tls ? eap::kTypeTls : eap::kTypePeap, certs.server.get(),
                                         certs.serverKey.get(), tls ? certs.ca.get() : nullptr, 500,
                                         "library-card"});
        ASSERT_EQ(
            bed.dot1x.do_eapol_init(&bed.adapter, 0, kOwnMac, kBssid, certs.config(method, 300)),
            0);
        EXPECT_EQ(derivedKey(bed.dot1x), Bytes(32, 0));
        int steps = 0;
        testing::LoopbackEapol relay;
        while (bed.dot1x.do_eapol_run() == 0 && ++steps < 62) {
            while (auto frame = channel->receive(Side::AccessPoint)) {
                relay.toAccessPoint.push_back(std::move(*frame));
            }
            server.serve(relay);
            for (const auto& frame : relay.toStation) {
                channel->send(Side::AccessPoint, frame);
            }
            relay.toStation.clear();
        }
        ASSERT_LT(steps, 62);
        bed.dot1x.do_eapol_halt();
        EXPECT_EQ(bed.dot1x.eapSupplicant(), nullptr);
        const Bytes expected(server.masterSessionKey().begin(),
                             server.masterSessionKey().begin() + 32);
        EXPECT_TRUE(derivedKey(bed.dot1x) == expected);  // compared, never printed
    }
    bed.dot1x.Shutdown_Dot1x_Module();
    EXPECT_EQ(derivedKey(bed.dot1x), Bytes(32, 0));
}

TEST(SoftwareDot1xEapTest, WithoutAnAdapterEveryStepIsBoundedAndFails) {
    testing::AdapterTestBed bed(testing::settingsWorld());
    EapolConfig config;
    config.method = "PEAP";
    EXPECT_EQ(bed.dot1x.do_eapol_init(nullptr, 0, kOwnMac, kBssid, config), -1);
    const auto before = bed.clock.nowMs();
    EXPECT_EQ(bed.dot1x.do_eapol_run(), 0);
    EXPECT_EQ(bed.clock.nowMs() - before, EapSupplicant::kStepWaitMs);
    bed.dot1x.do_eapol_halt();
    EXPECT_EQ(derivedKey(bed.dot1x), Bytes(32, 0));
}

}  // namespace
}  // namespace rizorivu::dot1x
