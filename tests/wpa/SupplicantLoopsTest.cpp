#include "wpa/SupplicantLoops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wpa/WpaWorkerBed.h"
#include "wpa/HexDump.h"

namespace rizorivu::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(WpaSupplicant, KeysTheHandshakeProducesReachTheAdapterForItsBssid) {
    WpaWorkerBed w;
    w.joinPsk();
    w.dot1x.onFirstStep = [](KeyNegotiationContext& context) {
        const std::array<std::uint8_t, 8> rsc{1, 0, 0, 0, 0, 0, 0, 0};
        const Bytes pairwise(16, 0x11);
        const Bytes group(32, 0x22);
        const Bytes unusable(33, 0x33);
        context.installKey(rsc, pairwise, 0, 0);
        context.installKey(rsc, group, 1, 1);
        context.installKey(rsc, unusable, 1, 1);
        context.installKey(rsc, group, 1, 7);
    };
    w.worker.startWpaConnection();
    ASSERT_TRUE(w.dot1x.waitFor("do_key_negotiation_run", 2));
    w.worker.stopWpaConnection();

    const auto records = w.watched.oidRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].size(), 55u);
    EXPECT_EQ(records[1].size(), 71u);
    const Bytes pskBssid{0x02, 0x10, 0x00, 0x00, 0x00, 0x03};
    for (const Bytes& record : records) {
        EXPECT_EQ(Bytes(record.begin() + 12, record.begin() + 18), pskBssid);
    }
    EXPECT_EQ(records[0][7], 0xE0);
    EXPECT_EQ(records[1][4], 0x01);
    EXPECT_EQ(records[1][7], 0x20);
}

TEST(WpaSupplicant, LinkLostMidHandshakeStartsOverWithTheKeyComputedAgain) {
    WpaWorkerBed w;
    w.joinPsk();
    w.worker.startWpaConnection();
    ASSERT_TRUE(w.dot1x.waitFor("do_key_negotiation_run"));
    w.watched.forcedConnectState = 1;
    // 31 steps notice the lost link; the next attempt waits for it, then tries anyway.
    ASSERT_TRUE(w.dot1x.waitFor("Get_PSK_Key_32byte", 2));
    w.watched.forcedConnectState = WatchedLibrary::kNotForced;
    ASSERT_TRUE(w.dot1x.waitFor("do_key_negotiation_init", 2));
    w.worker.stopWpaConnection();
    EXPECT_EQ(w.dot1x.pskSsids().size(), w.dot1x.count("do_key_negotiation_init"));
    EXPECT_GE(w.dot1x.count("do_key_negotiation_run"), 31u);
}

void storePeap(WpaWorkerBed& w) {
    w.joinPsk();
    w.store(settingname::kAuthenticationMode, "3");
    w.store(settingname::kDot1xProtocol, "1");
    w.store(settingname::kDot1xUsername, "alice");
    w.store(settingname::kDot1xPassword, "wonderland");
}

TEST(WpaSupplicant, EapGivenUpAfterSixtyTwoStepsMakesTheAdapterAssociateAfresh) {
    struct Case {
        int ssidLength;  // what QueryWL_SSID answers; kNotForced asks the adapter
        std::vector<Bytes> ssidsSet;
    };
    const Case cases[] = {
        {WatchedLibrary::kNotForced, {{'P', 's', 'k'}}},
        {-1, {}},
        {33, {}},
    };
    for (const Case& c : cases) {
        WpaWorkerBed w;
        storePeap(w);
        w.watched.forcedSsidLength = c.ssidLength;
        const std::size_t ssidsBefore = w.watched.ssidsSet().size();
        w.worker.startWpaConnection();
        ASSERT_TRUE(w.dot1x.waitFor("do_eapol_halt"));
        w.worker.stopWpaConnection();
        const auto ssids = w.watched.ssidsSet();
        std::vector<Bytes> set(ssids.begin() + static_cast<std::ptrdiff_t>(ssidsBefore),
                               ssids.end());
        set.resize(std::min(set.size(), c.ssidsSet.size()));
        EXPECT_EQ(set, c.ssidsSet) << c.ssidLength;
        EXPECT_GE(w.dot1x.count("do_eapol_run"), 62u);
        EXPECT_EQ(w.dot1x.calls().back(), "Shutdown_Dot1x_Module");
        EXPECT_EQ(w.dot1x.count("do_key_negotiation_init"), 0u);

        const EapolConfig config = w.dot1x.eapolConfigs().front();
        EXPECT_EQ(config.method, "PEAP");
        EXPECT_EQ(config.identity, "alice");
        EXPECT_EQ(config.innerIdentity, "alice");
        EXPECT_EQ(config.caCertificateFile, (w.bed.dir.path() / "caroot.pem").string());
    }
}

TEST(WpaSupplicant, EapSuccessHandsTheDerivedKeyToTheHandshake) {
    WpaWorkerBed w;
    storePeap(w);
    w.dot1x.eapolSucceedsAtStep = 3;
    for (std::size_t i = 0; i < w.dot1x.eapKey.size(); ++i) {
        w.dot1x.eapKey[i] = static_cast<std::uint8_t>(i);
    }
    std::mutex dumpMutex;
    std::vector<std::string> dumps;
    w.worker.onKeyDump([&](std::string_view text) {
        std::lock_guard lock(dumpMutex);
        dumps.emplace_back(text);
    });
    w.worker.startWpaConnection();
    ASSERT_TRUE(w.dot1x.waitFor("do_key_negotiation_run"));
    w.worker.stopWpaConnection();

    const auto calls = w.dot1x.calls();
    const std::vector<std::string> expected{
        "genROOTCertFile",        "genROOTSSLFile", "do_eapol_init", "do_eapol_run",
        "do_eapol_run",           "do_eapol_run",   "do_eapol_halt", "Get_EAP_Derived_Key_32byte",
        "do_key_negotiation_init"};
    ASSERT_GE(calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 9), expected);
    EXPECT_EQ(w.dot1x.negotiations().front().pairwiseMasterKey, w.dot1x.eapKey);
    std::lock_guard lock(dumpMutex);
    EXPECT_EQ(dumps, std::vector<std::string>{wpa::dumpHex(w.dot1x.eapKey)});
}

TEST(WpaSupplicant, TlsUsesTheExportedFilesByFullPath) {
    WpaWorkerBed w;
    w.joinPsk();
    w.store(settingname::kAuthenticationMode, "3");
    w.store(settingname::kDot1xProtocol, "0");
    w.store(settingname::kDot1xUsername, std::string(300, 'u'));
    w.worker.startWpaConnection();
    ASSERT_TRUE(w.dot1x.waitFor("do_eapol_init"));
    w.worker.stopWpaConnection();
    const EapolConfig config = w.dot1x.eapolConfigs().front();
    EXPECT_EQ(config.method, "TLS");
    EXPECT_EQ(config.identity, std::string(255, 'u'));
    EXPECT_EQ(config.privateKeyFile, (w.bed.dir.path() / "client_key.pem").string());
    EXPECT_EQ(config.clientCertificateFile, (w.bed.dir.path() / "client.pem").string());
    EXPECT_EQ(w.dot1x.count("genMySSLFile"), 1u);
}

}  // namespace
}  // namespace rizorivu::testing
