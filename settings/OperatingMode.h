#pragma once

#include <atomic>

#include "adapter/DriverCode.h"
#include "adapter/OperationMode.h"

namespace rizorivu {

// Whether the adapter works as a station or as an access point. It selects the last-setting
// section that every read and write uses. Set on the interface thread, read by the WPA worker
// as well.
class OperatingMode {
public:
    static constexpr int kStation = toDriver(OperationMode::Station);
    static constexpr int kAccessPoint = toDriver(OperationMode::AccessPoint);

    int get() const { return value_.load(); }
    void set(int mode) { value_.store(mode); }

private:
    std::atomic<int> value_{kStation};
};

}  // namespace rizorivu
