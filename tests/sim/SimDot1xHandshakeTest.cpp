// The 802.1X library's supplicant against the simulated access point, end to end: the keys it
// installs through WriteOid are the ones the access point derived, so data flows.

#include <gtest/gtest.h>

#include "adapter/ByteOrder.h"
#include "adapter/WpaElement.h"
#include "dot1x/SoftwareDot1xLibrary.h"
#include "sim/BeaconElements.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Outcome {
    int result = 0;
    std::vector<int> installedTypes;
    int connectState = -1;
    bool receives = false;
};

// Joins the world's WPA-PSK network ("Psk", AES) and negotiates as the WPA worker would.
Outcome negotiate(std::string_view passphrase) {
    ::rizorivu::testing::AdapterTestBed bed(::rizorivu::testing::settingsWorld());
    Outcome run;
    if (!bed.open(::rizorivu::testing::kK540)) {
        ADD_FAILURE() << "adapter does not open";
        return run;
    }
    AdapterLibrary& lib = *bed.library;
    AdapterRecord* adapter = &bed.adapter;
    lib.SetWL_NetworkType(adapter, 1);
    lib.SetWL_AuthenticationMode(adapter, 4);
    lib.SetWL_WEPStatus(adapter, 6);
    const Bytes ssid = {'P', 's', 'k'};
    lib.SetWL_SSID(adapter, ssid.data(), 3);
    bed.clock.advance(1500);
    EXPECT_EQ(lib.QueryWL_ConnectState(adapter), 0);

    KeyNegotiationContext context;
    context.ownMac = {0x02, 0x00, 0x00, 0x00, 0x05, 0x40};
    bed.dot1x.Get_PSK_Key_32byte(passphrase, ssid.data(), 3, 4096, context.pairwiseMasterKey.data(),
                                 32);
    context.wpaElement = wpaElement(Security::WpaPsk, BssType::Infrastructure, Cipher::Aes,
                                    GroupCipher::SameAsPairwise);
    context.pairwiseCipher = context.groupCipher = ciphercode::kCcmp;
    context.installKey = [&](std::span<const std::uint8_t, 8> rsc,
                             std::span<const std::uint8_t> key, int index, int type) {
        run.installedTypes.push_back(type);
        Bytes record(key.size() + 39, 0);
        putLe32(record.data(), static_cast<std::uint32_t>(record.size()));
        putLe32(record.data() + 4,
                0x20000000u | (type == 0 ? 0xC0000000u : static_cast<std::uint32_t>(index)));
        putLe32(record.data() + 8, static_cast<std::uint32_t>(key.size()));
        lib.QueryWL_BSSID(adapter, std::span<std::uint8_t, 6>(record.data() + 12, 6));
        std::copy(rsc.begin(), rsc.end(), record.begin() + 24);
        std::copy(key.begin(), key.end(), record.begin() + 32);
        lib.WriteOid(adapter, adapterbuf::kOidAddKey, record.data(),
                     static_cast<int>(record.size()));
    };
    const std::array<std::uint8_t, 6> bssid{0x02, 0x10, 0x00, 0x00, 0x00, 0x03};
    EXPECT_EQ(bed.dot1x.do_key_negotiation_init(adapter, context), 0);
    bed.dot1x.do_eapol_start(bssid, context.ownMac);
    for (int i = 0; i < 31 && run.result != 1; ++i) {
        run.result = bed.dot1x.do_key_negotiation_run(context);
    }
    run.connectState = lib.QueryWL_ConnectState(adapter);
    FrameCounts before{};
    lib.GetTxRxFrameCount(adapter, &before);
    bed.clock.advance(2000);
    FrameCounts after{};
    lib.GetTxRxFrameCount(adapter, &after);
    run.receives = after.received > before.received;
    bed.dot1x.Shutdown_Dot1x_Module();
    return run;
}

TEST(SimDot1xHandshakeTest, RightPassphraseInstallsKeysThatCarryData) {
    const Outcome run = negotiate("correct horse");
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.installedTypes, (std::vector<int>{0, 1}));
    EXPECT_EQ(run.connectState, 0);
    EXPECT_TRUE(run.receives);
}

TEST(SimDot1xHandshakeTest, WrongPassphraseInstallsNothingAndLosesTheLink) {
    const Outcome run = negotiate("wrong horse!");
    EXPECT_NE(run.result, 1);
    EXPECT_TRUE(run.installedTypes.empty());
    EXPECT_FALSE(run.receives);
}

}  // namespace
}  // namespace rizorivu::sim
