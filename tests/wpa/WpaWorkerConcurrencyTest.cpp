// Stopping the WPA worker in each of its states, on a real clock: the worker's thread is gone
// when stop returns, within about one library step.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <vector>

#include "tests/wpa/WpaWorkerBed.h"

namespace rizorivu::testing {
namespace {

using Millis = std::chrono::duration<double, std::milli>;

// Generous against a loaded machine and ThreadSanitizer; a worker that slept its 1 s pauses
// out, or ran a whole attempt after the flag was cleared, would miss it by far.
constexpr double kStopBoundMs = 400;
constexpr int kStepMs = 20;

double timedStop(wpa::WpaWorker& worker) {
    const auto started = std::chrono::steady_clock::now();
    worker.stopWpaConnection();
    return Millis(std::chrono::steady_clock::now() - started).count();
}

struct StateCase {
    const char* state;
    std::function<void(WpaWorkerBed&)> arrange;
    const char* reachedWhen;  // a library call that shows the state was reached, if any
    int pauseMs = 0;          // otherwise, how long after the start the stop comes
};

TEST(WpaWorkerConcurrency, StopInEveryStateEndsTheThreadWithinAStep) {
    const StateCase cases[] = {
        {"waiting for the link", [](WpaWorkerBed& w) { w.watched.forcedConnectState = 1; }, nullptr,
         30},
        {"just started", [](WpaWorkerBed&) {}, nullptr, 0},
        {"mid-handshake", [](WpaWorkerBed&) {}, "do_key_negotiation_run"},
        {"authenticating",
         [](WpaWorkerBed& w) {
             w.store(settingname::kAuthenticationMode, "3");
             w.store(settingname::kDot1xProtocol, "1");
         },
         "do_eapol_run"},
        {"rekeying",
         [](WpaWorkerBed& w) {
             w.dot1x.onFirstStep = [](KeyNegotiationContext& context) {
                 const std::array<std::uint8_t, 8> rsc{};
                 const std::vector<std::uint8_t> key(16, 0x5A);
                 context.installKey(rsc, key, 0, 0);
             };
         },
         "do_key_negotiation_run"},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.state);
        RealClock clock;
        WpaWorkerBed w(&clock);
        w.joinPsk();
        w.dot1x.stepMs = kStepMs;
        c.arrange(w);
        w.worker.startWpaConnection();
        if (c.reachedWhen != nullptr) {
            ASSERT_TRUE(w.dot1x.waitFor(c.reachedWhen, 2));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(c.pauseMs));
        }
        EXPECT_LT(timedStop(w.worker), kStopBoundMs);
        EXPECT_FALSE(w.worker.hasWorker());
        EXPECT_TRUE(w.worker.workerEnded());
        // Whatever ran released the library, and nothing runs after the stop.
        const std::size_t calls = w.dot1x.calls().size();
        EXPECT_EQ(
            w.dot1x.count("Shutdown_Dot1x_Module"),
            w.dot1x.count("Get_PSK_Key_32byte") + w.dot1x.count("do_eapol_init") > 0 ? 1u : 0u);
        std::this_thread::sleep_for(std::chrono::milliseconds(2 * kStepMs));
        EXPECT_EQ(w.dot1x.calls().size(), calls);
    }
}

TEST(WpaWorkerConcurrency, RestartsAndStopsInQuickSuccessionLeaveOneWorkerAtATime) {
    RealClock clock;
    WpaWorkerBed w(&clock);
    w.joinPsk();
    w.dot1x.stepMs = 1;
    w.watched.forcedWzcStatus = 0;
    for (int round = 0; round < 20; ++round) {
        w.worker.startWpaConnection();
        if (round % 3 == 0) {
            w.worker.stopWpaConnection();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(round % 4));
    }
    w.worker.stopWpaConnection();
    EXPECT_FALSE(w.worker.hasWorker());
    // Every loop that began was ended before the next one began: the library passes from
    // one worker's thread to the next only right after a shutdown. (A loop stopped while it
    // waited for the link shuts the library down without having derived a key.)
    const auto calls = w.dot1x.calls();
    const auto callers = w.dot1x.callers();
    ASSERT_EQ(calls.size(), callers.size());
    for (std::size_t i = 1; i < calls.size(); ++i) {
        if (callers[i] != callers[i - 1]) {
            EXPECT_EQ(calls[i - 1], "Shutdown_Dot1x_Module") << "call " << i;
        }
    }
    if (!calls.empty()) {
        EXPECT_EQ(calls.back(), "Shutdown_Dot1x_Module");
    }
    EXPECT_EQ(w.watched.count("QVStopWZCService"), 20u);
    EXPECT_EQ(w.watched.count("QVStartWZCService"), 8u);
}

TEST(WpaWorkerConcurrency, StopLatencyWhileAHandshakeRuns) {
    std::vector<double> latencies;
    for (int round = 0; round < 7; ++round) {
        RealClock clock;
        WpaWorkerBed w(&clock);
        w.joinPsk();
        w.dot1x.stepMs = kStepMs;
        w.worker.startWpaConnection();
        ASSERT_TRUE(w.dot1x.waitFor("do_key_negotiation_run", 2));
        latencies.push_back(timedStop(w.worker));
    }
    std::sort(latencies.begin(), latencies.end());
    const double median = latencies[latencies.size() / 2];
    std::cout << "stopWpaConnection during a handshake with " << kStepMs << " ms steps: median "
              << median << " ms, worst " << latencies.back() << " ms\n";
    EXPECT_LT(median, kStopBoundMs);
}

}  // namespace
}  // namespace rizorivu::testing
