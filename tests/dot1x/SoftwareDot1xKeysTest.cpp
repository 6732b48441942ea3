// The library's key operations as the WPA worker calls them, on the simulated adapter's EAPOL
// channel.

#include <gtest/gtest.h>

#include <vector>

#include "adapter/WpaElement.h"
#include "dot1x/SoftwareDot1xLibrary.h"
#include "sim/SimulatedAdapterLibrary.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/HexBytes.h"
#include "tests/support/KeyAuthenticator.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu::dot1x {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::hexBytes;
using testing::textBytes;

TEST(SoftwareDot1xKeysTest, PassphraseMappingIsTheAnnexHOne) {
    testing::AdapterTestBed bed(testing::settingsWorld());
    const Bytes ssid = textBytes("ThisIsASSID");
    Bytes key(32, 0xEE);
    bed.dot1x.Get_PSK_Key_32byte("ThisIsAPassword", ssid.data(), static_cast<int>(ssid.size()),
                                 4096, key.data(), 32);
    EXPECT_EQ(key, hexBytes("0dc0d6eb90555ed6419756b9a15ec3e3209b63df707dd508d14581f8982721af"));
    // Nonsense arguments give zeros (never stale bytes) and never read or write out of place.
    Bytes zeroed(32, 0xEE);
    bed.dot1x.Get_PSK_Key_32byte("x", ssid.data(), 11, 0, zeroed.data(), 32);
    EXPECT_EQ(zeroed, Bytes(32, 0));
    bed.dot1x.Get_PSK_Key_32byte("x", nullptr, 5, 4096, nullptr, 32);
    const Bytes longSsid(40, 'Z');
    Bytes clipped(32);
    Bytes exact(32);
    bed.dot1x.Get_PSK_Key_32byte("password", longSsid.data(), 40, 2, clipped.data(), 32);
    bed.dot1x.Get_PSK_Key_32byte("password", longSsid.data(), 32, 2, exact.data(), 32);
    EXPECT_EQ(clipped, exact);
}

TEST(SoftwareDot1xKeysTest, NegotiatesOverTheAdapterPortAndShutsDown) {
    testing::AdapterTestBed bed(testing::settingsWorld());
    ASSERT_TRUE(bed.open(testing::kK540));
    auto* sim = dynamic_cast<sim::SimulatedAdapterLibrary*>(bed.library.get());
    ASSERT_NE(sim, nullptr);
    const auto channel = sim->eapolChannel(&bed.adapter);
    ASSERT_TRUE(channel);
    using Side = sim::EapolChannel::Side;

    KeyNegotiationContext context;
    context.ownMac = {0x02, 0x00, 0x00, 0x00, 0x05, 0x40};
    const Bytes ssid = textBytes("Psk");
    bed.dot1x.Get_PSK_Key_32byte("correct horse", ssid.data(), 3, 4096,
                                 context.pairwiseMasterKey.data(), 32);
    context.wpaElement = WpaElement::build(ciphercode::kCcmp, ciphercode::kCcmp, 2);
    context.pairwiseCipher = context.groupCipher = ciphercode::kCcmp;
    std::vector<int> installedTypes;
    context.installKey = [&](auto, auto, int, int type) { installedTypes.push_back(type); };

    testing::KeyAuthenticator::Config config;
    config.masterKey = context.pairwiseMasterKey;
    config.address = {0x02, 0x10, 0x00, 0x00, 0x00, 0x03};
    config.pairwiseCipher = config.groupCipher = ciphercode::kCcmp;
    config.element = context.wpaElement;
    config.groupKey = Bytes(16, 0x42);
    testing::KeyAuthenticator auth(
        config, [&](Bytes f) { channel->send(Side::AccessPoint, f); },
        [&] { return channel->receive(Side::AccessPoint); });

    ASSERT_EQ(bed.dot1x.do_key_negotiation_init(&bed.adapter, context), 0);
    bed.dot1x.do_eapol_start(config.address, context.ownMac);
    EXPECT_EQ(channel->receive(Side::AccessPoint), eapolStartFrame());
    auth.sendMessage1();
    int result = 0;
    for (int i = 0; i < 10 && result != 1; ++i) {
        result = bed.dot1x.do_key_negotiation_run(context);
        while (auth.handle()) {
        }
    }
    EXPECT_EQ(result, 1);
    EXPECT_EQ(installedTypes, (std::vector<int>{0, 1}));

    bed.dot1x.Shutdown_Dot1x_Module();
    EXPECT_EQ(bed.dot1x.keyHandshake(), nullptr);
    const auto before = bed.clock.nowMs();
    EXPECT_EQ(bed.dot1x.do_key_negotiation_run(context), -1);
    EXPECT_GE(bed.clock.nowMs() - before, KeyHandshake::kStepWaitMs);
}

TEST(SoftwareDot1xKeysTest, InitRefusesWithoutAnAdapterOrACipher) {
    testing::AdapterTestBed bed(testing::settingsWorld());
    KeyNegotiationContext context;
    context.pairwiseCipher = ciphercode::kTkip;
    EXPECT_EQ(bed.dot1x.do_key_negotiation_init(nullptr, context), -1);
    ASSERT_TRUE(bed.open(testing::kK540));
    context.pairwiseCipher = 0;
    EXPECT_EQ(bed.dot1x.do_key_negotiation_init(&bed.adapter, context), -1);
    EXPECT_EQ(bed.dot1x.keyHandshake(), nullptr);
    bed.dot1x.do_eapol_start(context.ownMac, context.ownMac);  // harmless without a port
}

}  // namespace
}  // namespace rizorivu::dot1x
