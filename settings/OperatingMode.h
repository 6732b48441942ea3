#pragma once

#include <atomic>

namespace rizorivu {

// Whether the adapter works as a station or as an access point. It selects the last-setting
// section that every read and write uses. Set on the interface thread, read by the WPA worker
// as well.
class OperatingMode {
public:
    static constexpr int kStation = 0;
    static constexpr int kAccessPoint = 1;

    int get() const { return value_.load(); }
    void set(int mode) { value_.store(mode); }

private:
    std::atomic<int> value_{kStation};
};

}  // namespace rizorivu
