#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>

namespace rizorivu {

// All waiting and all reading of time goes through a Clock, so that tests run the utility's
// pauses and the simulated adapter's timing on virtual time.
class Clock {
public:
    using Duration = std::chrono::milliseconds;
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary, fixed origin; never goes back.
    virtual std::int64_t nowMs() const = 0;
    // Seconds of the calendar time, as the pseudo-random SSIDs are seeded with.
    virtual std::int64_t wallSeconds() const = 0;
    virtual void sleepMs(std::int64_t ms) = 0;
};

class RealClock final : public Clock {
public:
    std::int64_t nowMs() const override;
    std::int64_t wallSeconds() const override;
    void sleepMs(std::int64_t ms) override;
};

// Time that moves only when told. A sleep advances the clock by its length at once, so a
// thread that sleeps never waits; `advance` moves time for everyone. Thread-safe.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(std::int64_t startMs = 0, std::int64_t wallSeconds = 1'100'000'000)
        : nowMs_(startMs), wallOrigin_(wallSeconds) {}
    std::int64_t nowMs() const override;
    std::int64_t wallSeconds() const override;
    void sleepMs(std::int64_t ms) override;
    void advance(std::int64_t ms);

private:
    mutable std::mutex mutex_;
    std::int64_t nowMs_;
    std::int64_t wallOrigin_;
};

}  // namespace rizorivu
