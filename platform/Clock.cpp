#include "platform/Clock.h"

#include <thread>

namespace rizorivu {

std::int64_t RealClock::nowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t RealClock::wallSeconds() const {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void RealClock::sleepMs(std::int64_t ms) {
    if (ms > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

std::int64_t VirtualClock::nowMs() const {
    std::lock_guard lock(mutex_);
    return nowMs_;
}

std::int64_t VirtualClock::wallSeconds() const {
    std::lock_guard lock(mutex_);
    return wallOrigin_ + nowMs_ / 1000;
}

void VirtualClock::sleepMs(std::int64_t ms) {
    advance(ms);
}

void VirtualClock::advance(std::int64_t ms) {
    if (ms <= 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    nowMs_ += ms;
}

}  // namespace rizorivu
