#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Clock.h"

namespace rizorivu::wpa {

// Keeps the WPA worker running. The interface thread sets and clears it; the worker reads it
// at every step and sleeps through `sleepWhileSet`, so a cleared flag ends any pause at once.
class RunFlag {
public:
    // The longest piece of a pause: how late the worker may notice a cleared flag while it
    // sleeps on a real clock.
    static constexpr std::int64_t kSliceMs = 10;

    void set() { set_.store(true); }
    void clear() { set_.store(false); }
    bool isSet() const { return set_.load(); }

    // Sleeps `ms` on `clock` in slices of at most kSliceMs, stopping as soon as the flag is
    // cleared. Answers whether the flag is still set.
    bool sleepWhileSet(Clock& clock, std::int64_t ms) const;

private:
    std::atomic<bool> set_{false};
};

}  // namespace rizorivu::wpa
