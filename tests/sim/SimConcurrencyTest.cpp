// The interface thread and the WPA worker use the library at once: every answer must stay
// one the driver can give, and (under ThreadSanitizer) no state may be shared unguarded.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "adapter/ByteOrder.h"
#include "tests/sim/ScriptedStation.h"
#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

using testing::SimTestBed;

constexpr int kRounds = 300;

TEST(SimConcurrencyTest, PollingAndSettingAtOnceGiveValidAnswers) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    SimulatedAdapterLibrary& lib = bed.lib();
    AdapterRecord* record = &bed.record;
    std::atomic<int> invalid{0};
    auto check = [&](bool ok) {
        if (!ok) {
            invalid.fetch_add(1);
        }
    };

    // The interface thread: the poll tick's queries and a survey now and then.
    std::thread poller([&] {
        std::vector<std::uint8_t> survey(adapterbuf::kSurveyBytes);
        for (int i = 0; i < kRounds; ++i) {
            const int state = lib.QueryWL_ConnectState(record);
            check(state == 0 || state == 1);
            const int rssi = lib.QueryWL_RSSI(record);
            check(rssi == -1 || (rssi >= -100 && rssi <= -40));
            const int quality = lib.QueryWL_CommQuality(record);
            check(quality >= -1 && quality <= 100);
            FrameCounts counts;
            check(lib.GetTxRxFrameCount(record, &counts) == 0);
            std::array<std::uint8_t, 32> ssid{};
            const int length = lib.QueryWL_SSID(record, ssid);
            check(length >= 0 && length <= 32);
            if (i % 10 == 0) {
                check(lib.WL_RetrieveSiteSurveyData(record, survey.data(),
                                                    static_cast<int>(survey.size())) == 0);
                check(lib.WL_FilteSiteSurveyData(record,
                                                 std::span<std::uint8_t, adapterbuf::kSurveyBytes>(
                                                     survey.data(), survey.size())) == 0);
                check(getLe32(survey.data()) <= 12);
            }
            bed.clock.advance(100);
        }
    });

    // The WPA worker: waits for the link, re-sets the SSID, installs keys.
    std::thread worker([&] {
        const std::vector<std::uint8_t> ssids[] = {testing::bytesOf("PskTkip"),
                                                   testing::bytesOf("Open")};
        std::vector<std::uint8_t> record32(71, 0);
        putLe32(record32.data(), 71);
        putLe32(record32.data() + 4, 0x20000001);
        putLe32(record32.data() + 8, 32);
        for (int i = 0; i < kRounds; ++i) {
            const auto& ssid = ssids[i % 2];
            check(lib.SetWL_SSID(record, ssid.data(), static_cast<int>(ssid.size())) == 0);
            check(lib.SetWL_AuthenticationMode(record, i % 2 == 0 ? 4 : 0) == 0);
            check(lib.SetWL_WEPStatus(record, i % 2 == 0 ? 4 : 1) == 0);
            const int accepted = lib.WriteOid(record, adapterbuf::kOidAddKey, record32.data(), 71);
            check(accepted == 0 || accepted == -1);
            std::array<std::uint8_t, 6> bssid{};
            const int b = lib.QueryWL_BSSID(record, bssid);
            check(b == 0 || b == -1);
            bed.clock.sleepMs(400);
        }
    });

    poller.join();
    worker.join();
    EXPECT_EQ(invalid.load(), 0);
}

TEST(SimConcurrencyTest, WorldEditsWhileTwoThreadsCall) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    std::atomic<bool> stop{false};
    std::atomic<int> answered{0};
    std::thread caller([&] {
        while (!stop.load()) {
            const int version = bed.lib().QueryWL_DriverVersion(&bed.record);
            if (version == -1 || version > 0) {
                answered.fetch_add(1);
            }
            AdapterListEntry entries[2];
            bed.lib().CreateAllNICAdapterList(entries, 2);
        }
    });
    for (int i = 0; i < 20; ++i) {
        bed.editWorld(i % 2 == 0 ? std::string(testing::kAdapterSection) + "Present=0\n"
                                 : testing::testWorld());
        bed.lib().QvOpenAdapter(&bed.record);
        bed.lib().QueryWL_ConnectState(&bed.record);
    }
    stop.store(true);
    caller.join();
    EXPECT_GT(answered.load(), 0);
}

// The worker's handshake frames reach the access point while the interface thread polls,
// and the poll runs the access point's retries.
TEST(SimConcurrencyTest, HandshakeFramesAndPollingAtOnce) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    bed.configure("PskAes", 1, 4, 6);
    const auto port = bed.lib().eapolPort(&bed.record);
    ASSERT_NE(port, nullptr);
    std::atomic<bool> done{false};
    std::atomic<int> invalid{0};
    std::thread poller([&] {
        while (!done.load()) {
            const int state = bed.lib().QueryWL_ConnectState(&bed.record);
            FrameCounts counts;
            if ((state != 0 && state != 1) || bed.lib().GetTxRxFrameCount(&bed.record, &counts)) {
                invalid.fetch_add(1);
            }
            // Slowly enough that a loaded machine still answers before the retries run out.
            bed.clock.advance(5);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    testing::ScriptedStation station;
    station.masterKey = testing::masterKeyOf("battery staple", "PskAes");
    station.own = {0x02, 0, 0, 0, 0, 0x01};
    station.accessPoint = {0x02, 0x10, 0, 0, 0, 0x05};
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (station.groupKey.empty() && std::chrono::steady_clock::now() < until) {
        if (auto frame = port->receiveEapol()) {
            if (auto answer = station.answer(*frame)) {
                port->sendEapol(*answer);
            }
        }
        std::this_thread::yield();
    }
    done.store(true);
    poller.join();
    EXPECT_EQ(invalid.load(), 0);
    EXPECT_EQ(station.groupKey.size(), 16u);
}

}  // namespace
}  // namespace rizorivu::sim
