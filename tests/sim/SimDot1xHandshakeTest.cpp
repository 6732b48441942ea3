// The 802.1X library's supplicant against the simulated access point, end to end: the keys it
// installs through WriteOid are the ones the access point derived, so data flows.

#include <gtest/gtest.h>

#include "adapter/AuthenticationMode.h"
#include "adapter/ByteOrder.h"
#include "adapter/DriverCode.h"
#include "adapter/WepStatus.h"
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
    int rekeys = 0;  // group keys installed after the handshake
};

// A pre-shared-key network of a test world and how the station is set up for it.
struct Join {
    const char* name;
    std::string world;
    std::string ssid;
    AuthenticationMode mode;
    WepStatus encryption;
    int cipher;  // ciphercode
    Bytes element;
    std::array<std::uint8_t, 6> bssid;
    std::string passphrase;
};

void PrintTo(const Join& j, std::ostream* os) {
    *os << j.name;
}

// Joins the network and negotiates as the WPA worker would; then waits `afterMs`, answering
// the access point meanwhile.
Outcome negotiate(const Join& join, std::string_view passphrase, std::int64_t afterMs = 0) {
    ::rizorivu::testing::AdapterTestBed bed(join.world);
    Outcome run;
    if (!bed.open(::rizorivu::testing::kK540)) {
        ADD_FAILURE() << "adapter does not open";
        return run;
    }
    AdapterLibrary& lib = *bed.library;
    AdapterRecord* adapter = &bed.adapter;
    lib.SetWL_NetworkType(adapter, 1);
    lib.SetWL_AuthenticationMode(adapter, toDriver(join.mode));
    lib.SetWL_WEPStatus(adapter, toDriver(join.encryption));
    const Bytes ssid(join.ssid.begin(), join.ssid.end());
    lib.SetWL_SSID(adapter, ssid.data(), static_cast<int>(ssid.size()));
    bed.clock.advance(1500);
    EXPECT_EQ(lib.QueryWL_ConnectState(adapter), 0) << join.name;

    KeyNegotiationContext context;
    context.ownMac = {0x02, 0x00, 0x00, 0x00, 0x05, 0x40};
    bed.dot1x.Get_PSK_Key_32byte(passphrase, ssid.data(), static_cast<int>(ssid.size()), 4096,
                                 context.pairwiseMasterKey.data(), 32);
    context.wpaElement = join.element;
    context.pairwiseCipher = context.groupCipher = join.cipher;
    context.authenticationMode = toDriver(join.mode);
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
    EXPECT_EQ(bed.dot1x.do_key_negotiation_init(adapter, context), 0) << join.name;
    bed.dot1x.do_eapol_start(join.bssid, context.ownMac);
    for (int i = 0; i < 31 && run.result != 1; ++i) {
        run.result = bed.dot1x.do_key_negotiation_run(context);
    }
    const std::size_t installed = run.installedTypes.size();
    for (std::int64_t waited = 0; waited < afterMs; waited += dot1x::KeyHandshake::kStepWaitMs) {
        bed.dot1x.do_key_negotiation_run(context);
    }
    run.rekeys = static_cast<int>(run.installedTypes.size() - installed);
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

const Join kJoins[] = {
    {"WpaPskAes",
     ::rizorivu::testing::settingsWorld(),
     "Psk",
     AuthenticationMode::WpaPsk,
     WepStatus::AesEnabled,
     ciphercode::kCcmp,
     wpaElement(Security::WpaPsk, BssType::Infrastructure, Cipher::Aes,
                GroupCipher::SameAsPairwise),
     {0x02, 0x10, 0x00, 0x00, 0x00, 0x03},
     "correct horse"},
    {"Wpa2PskAes",
     ::rizorivu::testing::wpa2World(),
     "Psk2",
     AuthenticationMode::Wpa2Psk,
     WepStatus::AesEnabled,
     ciphercode::kCcmp,
     rsnElement(Security::WpaPsk, Cipher::Aes, GroupCipher::SameAsPairwise),
     {0x02, 0x10, 0x00, 0x00, 0x00, 0x21},
     "correct horse"},
    // A mixed access point, met with WPA2 (descriptor 2, RC4 key data) and with WPA.
    {"MixedAsWpa2Tkip",
     ::rizorivu::testing::wpa2World(),
     "Mixed",
     AuthenticationMode::Wpa2Psk,
     WepStatus::TkipEnabled,
     ciphercode::kTkip,
     rsnElement(Security::WpaPsk, Cipher::Tkip, GroupCipher::SameAsPairwise),
     {0x02, 0x10, 0x00, 0x00, 0x00, 0x22},
     "battery staple"},
    {"MixedAsWpaTkip",
     ::rizorivu::testing::wpa2World(),
     "Mixed",
     AuthenticationMode::WpaPsk,
     WepStatus::TkipEnabled,
     ciphercode::kTkip,
     wpaElement(Security::WpaPsk, BssType::Infrastructure, Cipher::Tkip,
                GroupCipher::SameAsPairwise),
     {0x02, 0x10, 0x00, 0x00, 0x00, 0x22},
     "battery staple"},
};

class SimDot1xHandshakeTest : public ::testing::TestWithParam<Join> {};

TEST_P(SimDot1xHandshakeTest, RightPassphraseInstallsKeysThatCarryData) {
    const Outcome run = negotiate(GetParam(), GetParam().passphrase);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.installedTypes, (std::vector<int>{0, 1}));
    EXPECT_EQ(run.connectState, 0);
    EXPECT_TRUE(run.receives);
}

TEST_P(SimDot1xHandshakeTest, WrongPassphraseInstallsNothingAndLosesTheLink) {
    const Outcome run = negotiate(GetParam(), "wrong horse!");
    EXPECT_NE(run.result, 1);
    EXPECT_TRUE(run.installedTypes.empty());
    EXPECT_FALSE(run.receives);
}

INSTANTIATE_TEST_SUITE_P(Sim, SimDot1xHandshakeTest, ::testing::ValuesIn(kJoins),
                         [](const auto& info) { return std::string(info.param.name); });

// The mixed access point renews its group key every 30 s; over WPA2 the new key arrives in
// the group-key handshake's KDE, and data keeps flowing with it.
TEST(SimDot1xRekeyTest, Wpa2GroupKeyIsRenewedAndKeepsDataFlowing) {
    const Outcome run = negotiate(kJoins[2], kJoins[2].passphrase, 31'000);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.rekeys, 1);
    EXPECT_EQ(run.connectState, 0);
    EXPECT_TRUE(run.receives);
}

// A WPA2 station is not let in on a WPA-only access point, nor a WPA one on a WPA2-only one.
TEST(SimDot1xVersionTest, AssociatesOnlyWithAVersionTheAccessPointSpeaks) {
    const struct {
        const char* ssid;
        AuthenticationMode mode;
        int connectState;
    } cases[] = {
        {"Psk2", AuthenticationMode::WpaPsk, 1},  {"Psk2", AuthenticationMode::Wpa2Psk, 0},
        {"Mixed", AuthenticationMode::WpaPsk, 0}, {"Eap2", AuthenticationMode::Wpa2, 0},
        {"Eap2", AuthenticationMode::Wpa, 1},
    };
    for (const auto& c : cases) {
        ::rizorivu::testing::AdapterTestBed bed(::rizorivu::testing::wpa2World());
        ASSERT_TRUE(bed.open(::rizorivu::testing::kK540));
        AdapterLibrary& lib = *bed.library;
        lib.SetWL_NetworkType(&bed.adapter, 1);
        ASSERT_EQ(lib.SetWL_AuthenticationMode(&bed.adapter, toDriver(c.mode)), 0);
        const bool aes = std::string_view(c.ssid) != "Mixed";
        lib.SetWL_WEPStatus(&bed.adapter,
                            toDriver(aes ? WepStatus::AesEnabled : WepStatus::TkipEnabled));
        const std::string_view ssid = c.ssid;
        lib.SetWL_SSID(&bed.adapter, reinterpret_cast<const std::uint8_t*>(ssid.data()),
                       static_cast<int>(ssid.size()));
        bed.clock.advance(1500);
        EXPECT_EQ(lib.QueryWL_ConnectState(&bed.adapter), c.connectState)
            << c.ssid << " with mode " << toDriver(c.mode);
    }
}

}  // namespace
}  // namespace rizorivu::sim
