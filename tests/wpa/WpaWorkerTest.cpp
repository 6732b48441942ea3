#include "wpa/WpaWorker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "adapter/KeyNegotiationContext.h"
#include "tests/wpa/WpaWorkerBed.h"

namespace rizorivu::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using settingname::kAuthenticationMode;
using settingname::kDot1xProtocol;
using settingname::kDot1xWpaIes;
using settingname::kWepKeyLength;
using settingname::kWepStatus;

std::ptrdiff_t indexOf(const std::vector<std::string>& calls, std::string_view name,
                       int occurrence = 1) {
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i] == name && --occurrence == 0) {
            return static_cast<std::ptrdiff_t>(i);
        }
    }
    return -1;
}

TEST(WpaWorker, PskConnectionTakesTheSurveysElementAndTheStationsSettings) {
    WpaWorkerBed w;
    w.joinPsk();
    // The station's values count even while the settings read the access point's section.
    w.bed.mode.set(OperatingMode::kAccessPoint);
    w.worker.startWpaConnection();
    ASSERT_TRUE(w.dot1x.waitFor("do_key_negotiation_run"));
    w.worker.stopWpaConnection();
    EXPECT_FALSE(w.worker.hasWorker());

    const std::string stored = w.stored(kDot1xWpaIes);
    std::array<std::uint8_t, 257> element{};
    const std::size_t length = HexTextToBytes(stored, element);
    ASSERT_GE(length, 6u) << stored;
    EXPECT_EQ(Bytes(element.begin(), element.begin() + 6),
              (Bytes{0xDD, static_cast<std::uint8_t>(length - 2), 0x00, 0x50, 0xF2, 0x01}));

    // The simulated access point gives up on a station that never answers its handshake, so
    // under a slow machine the worker may have started over; every attempt is the same.
    ASSERT_FALSE(w.dot1x.negotiations().empty());
    const auto negotiation = w.dot1x.negotiations().back();
    EXPECT_EQ(negotiation.wpaElement, Bytes(element.begin(), element.begin() + length));
    EXPECT_EQ(negotiation.pairwiseCipher, ciphercode::kCcmp);
    EXPECT_EQ(negotiation.groupCipher, ciphercode::kCcmp);
    EXPECT_EQ(negotiation.ownMac, (std::array<std::uint8_t, 6>{0x02, 0, 0, 0, 0x05, 0x40}));
    EXPECT_EQ(negotiation.pairwiseMasterKey[0], 0xA0);
    EXPECT_EQ(negotiation.pairwiseMasterKey[31], 0xA0 + 31);
    ASSERT_FALSE(w.dot1x.pskSsids().empty());
    for (const Bytes& ssid : w.dot1x.pskSsids()) {
        EXPECT_EQ(ssid, (Bytes{'P', 's', 'k'}));
    }
    EXPECT_EQ(w.dot1x.iterations(), 4096);
    EXPECT_EQ(w.dot1x.lastPassphraseLength(), std::string("correct horse").size());

    const auto calls = w.dot1x.calls();
    EXPECT_LT(indexOf(calls, "Get_PSK_Key_32byte"), indexOf(calls, "do_key_negotiation_init"));
    EXPECT_LT(indexOf(calls, "do_key_negotiation_init"), indexOf(calls, "do_eapol_start"));
    EXPECT_LT(indexOf(calls, "do_eapol_start"), indexOf(calls, "do_key_negotiation_run"));
    EXPECT_EQ(calls.back(), "Shutdown_Dot1x_Module");
    EXPECT_EQ(w.dot1x.count("Shutdown_Dot1x_Module"), 1u);
}

TEST(WpaWorker, SsidReachesThePassphraseMappingAsTheAdaptersBytes) {
    struct Case {
        const char* codePage;
        const char* ssid;
        Bytes bytes;
    };
    const Case cases[] = {
        {"WINDOWS-1252", "Caf\xC3\xA9", {'C', 'a', 'f', 0xE9}},
        {"CP932", "\xE6\x97\xA5", {0x93, 0xFA}},
    };
    for (const Case& c : cases) {
        WpaWorkerBed w(nullptr, c.codePage);
        w.joinPsk();
        w.store(settingname::kSsid, c.ssid);
        w.worker.startWpaConnection();
        ASSERT_TRUE(w.dot1x.waitFor("Get_PSK_Key_32byte"));
        w.worker.stopWpaConnection();
        EXPECT_EQ(w.dot1x.pskSsids().front(), c.bytes) << c.codePage;
    }
}

// Stored values the worker reads, written over what joining the network recorded.
struct StoredCase {
    const char* what;
    int authenticationMode;
    int protocol;
    int wepStatus;
    int wepKeyLength;
    // The cipher the handshake gets, or nothing when the worker ends before any supplicant.
    std::optional<int> cipher;
    const char* firstLibraryCall;
};

TEST(WpaWorker, StoredMethodAndEncryptionChooseTheSupplicant) {
    const StoredCase cases[] = {
        {"PSK, AES", 4, -1, 6, -1, ciphercode::kCcmp, "Get_PSK_Key_32byte"},
        {"PSK, TKIP", 4, -1, 4, -1, ciphercode::kTkip, "Get_PSK_Key_32byte"},
        {"WPA-None", 5, -1, 4, 64, ciphercode::kTkip, "Get_PSK_Key_32byte"},
        {"PSK, WEP 128", 4, -1, 0, 128, ciphercode::kWep104, "Get_PSK_Key_32byte"},
        {"PSK, WEP 64", 4, -1, 0, 64, ciphercode::kWep40, "Get_PSK_Key_32byte"},
        {"TLS", 3, 0, 6, -1, std::nullopt, "genMyCertFile"},
        {"PEAP", 3, 1, 6, -1, std::nullopt, "genROOTCertFile"},
        {"automatic switch", 2, -1, 6, -1, std::nullopt, nullptr},
        {"unknown protocol", 3, 2, 6, -1, std::nullopt, nullptr},
        {"encryption off", 4, -1, 1, -1, std::nullopt, nullptr},
        {"WEP 256", 4, -1, 0, 256, std::nullopt, nullptr},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.what);
        WpaWorkerBed w;
        w.joinPsk();
        w.store(kAuthenticationMode, std::to_string(c.authenticationMode));
        w.store(kDot1xProtocol, std::to_string(c.protocol));
        w.store(kWepStatus, std::to_string(c.wepStatus));
        w.store(kWepKeyLength, std::to_string(c.wepKeyLength));
        w.worker.startWpaConnection();
        if (c.firstLibraryCall == nullptr) {
            ASSERT_TRUE(w.waitForWorkerEnd());
            EXPECT_TRUE(w.dot1x.calls().empty());
            // The element was stored before the stored values were judged.
            EXPECT_FALSE(w.stored(kDot1xWpaIes).empty());
        } else {
            ASSERT_TRUE(w.dot1x.waitFor(c.firstLibraryCall));
            if (c.cipher) {
                ASSERT_TRUE(w.dot1x.waitFor("do_key_negotiation_init"));
                EXPECT_EQ(w.dot1x.negotiations().front().pairwiseCipher, *c.cipher);
            }
        }
        w.worker.stopWpaConnection();
        EXPECT_EQ(w.watched.count("QVStartWZCService"), 1u);
    }
}

// A mixed access point is spoken to with the element of the version the stored mode names:
// the RSN element for WPA2-PSK, the WPA element for WPA-PSK; both reach the library as stored.
TEST(WpaWorker, StoredModeChoosesTheRsnOrTheWpaElement) {
    const struct {
        const char* ssid;
        int mode;
        int encryption;
        std::uint8_t elementId;
        int authenticationMode;
    } cases[] = {
        {"Mixed", 7, 4, 48, 7},
        {"Mixed", 4, 4, 221, 4},
        {"Psk2", 7, 6, 48, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.ssid) + " " + std::to_string(c.mode));
        WpaWorkerBed w(nullptr, "WINDOWS-1252", wpa2World());
        w.join(c.ssid, c.mode, c.encryption, "eight chars");
        w.worker.startWpaConnection();
        ASSERT_TRUE(w.dot1x.waitFor("do_key_negotiation_init"));
        w.worker.stopWpaConnection();
        std::array<std::uint8_t, 257> element{};
        const std::size_t length = HexTextToBytes(w.stored(kDot1xWpaIes), element);
        ASSERT_GE(length, 2u);
        EXPECT_EQ(element[0], c.elementId);
        const auto negotiation = w.dot1x.negotiations().front();
        EXPECT_EQ(negotiation.wpaElement, Bytes(element.begin(), element.begin() + length));
        EXPECT_EQ(negotiation.authenticationMode, c.authenticationMode);
    }
}

TEST(WpaWorker, NetworkWithoutWpaElementEndsTheWorker) {
    WpaWorkerBed w;
    w.bed.applier.applySsidText("Home");
    w.bed.applier.applyNetworkType(WpaWorkerBed::kInfrastructure);
    w.bed.clock.advance(2000);
    w.store(kAuthenticationMode, "4");
    w.store(kWepStatus, "6");
    w.worker.startWpaConnection();
    ASSERT_TRUE(w.waitForWorkerEnd());
    EXPECT_TRUE(w.dot1x.calls().empty());
    EXPECT_TRUE(w.stored(kDot1xWpaIes).empty());
    w.worker.stopWpaConnection();
}

TEST(WpaWorker, PrivateKeyThatCannotBeExportedIsToldAndRunsNoSupplicant) {
    WpaWorkerBed w;
    w.joinPsk();
    w.store(kAuthenticationMode, "3");
    w.store(kDot1xProtocol, "0");
    w.store(settingname::kDot1xCertSubject, "CN=Alice");
    w.store(settingname::kDot1xCertIssuer, "CN=Lab CA");
    w.dot1x.myCertAnswer = 1;
    std::atomic<int> told{0};
    w.worker.onKeyNotExportable([&told] { ++told; });
    w.worker.startWpaConnection();
    ASSERT_TRUE(w.waitForWorkerEnd());
    EXPECT_EQ(told.load(), 1);
    EXPECT_EQ(w.dot1x.calls(), std::vector<std::string>{"genMyCertFile"});
    EXPECT_EQ(w.dot1x.certificateNames(), (std::vector<std::u16string>{u"CN=Alice", u"CN=Lab CA"}));
    w.worker.stopWpaConnection();
}

TEST(WpaWorker, ZeroConfigurationIsStoppedForTheWorkerUnlessItLeftTheAdapter) {
    struct Case {
        int status;
        std::size_t stops;
    };
    for (const Case& c : {Case{0, 1}, Case{1, 1}, Case{2, 0}}) {
        WpaWorkerBed w;
        w.joinPsk();
        w.watched.forcedWzcStatus = c.status;
        w.worker.startWpaConnection();
        EXPECT_EQ(w.watched.count("QVStopWZCService"), c.stops) << c.status;
        EXPECT_EQ(w.worker.wzcStoppedForWpa(), c.stops == 1);
        w.worker.stopWpaConnection();
        EXPECT_EQ(w.watched.count("QVStartWZCService"), c.stops) << c.status;
    }
}

TEST(WpaWorker, StartingAgainEndsTheRunningWorkerFirst) {
    WpaWorkerBed w;
    w.joinPsk();
    w.worker.startWpaConnection();
    ASSERT_TRUE(w.dot1x.waitFor("do_key_negotiation_run"));
    w.watched.forcedWzcStatus = 2;
    w.worker.startWpaConnection();
    ASSERT_TRUE(w.dot1x.waitFor("do_key_negotiation_init", 2));
    const auto calls = w.dot1x.calls();
    EXPECT_LT(indexOf(calls, "Shutdown_Dot1x_Module"), indexOf(calls, "Get_PSK_Key_32byte", 2));
    // The service stays stopped across the restart and is started once, at the end.
    EXPECT_EQ(w.watched.count("QVStopWZCService"), 1u);
    EXPECT_EQ(w.watched.count("QVStartWZCService"), 0u);
    w.worker.stopWpaConnection();
    EXPECT_EQ(w.watched.count("QVStartWZCService"), 1u);
    EXPECT_EQ(w.dot1x.count("Shutdown_Dot1x_Module"), 2u);
}

TEST(WpaWorker, StoppingTwiceDoesNothingTheSecondTime) {
    WpaWorkerBed w;
    w.joinPsk();
    w.worker.stopWpaConnection();  // none running: nothing
    EXPECT_EQ(w.watched.count("QVStartWZCService"), 0u);
    w.worker.startWpaConnection();
    ASSERT_TRUE(w.dot1x.waitFor("do_key_negotiation_run"));
    w.worker.stopWpaConnection();
    w.worker.stopWpaConnection();
    EXPECT_EQ(w.watched.count("QVStartWZCService"), 1u);
    EXPECT_EQ(w.dot1x.count("Shutdown_Dot1x_Module"), 1u);
}

TEST(WpaWorker, NothingStartsBeforeTheSettingsAreAttachedOrAfterTheyAreDetached) {
    WpaWorkerBed w;
    w.joinPsk();
    w.worker.detach();
    w.worker.startWpaConnection();
    EXPECT_FALSE(w.worker.hasWorker());
    EXPECT_EQ(w.watched.count("QVStopWZCService"), 0u);
}

}  // namespace
}  // namespace rizorivu::testing
