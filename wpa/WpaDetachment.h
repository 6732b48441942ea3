#pragma once

#include "wpa/WpaWorker.h"

namespace rizorivu::wpa {

// Ends the worker and detaches it from the settings when it goes out of scope: declared after
// the settings it was attached to, it runs before they are destroyed.
class WpaDetachment {
public:
    explicit WpaDetachment(WpaWorker& worker) : worker_(worker) {}
    ~WpaDetachment();
    WpaDetachment(const WpaDetachment&) = delete;
    WpaDetachment& operator=(const WpaDetachment&) = delete;

private:
    WpaWorker& worker_;
};

}  // namespace rizorivu::wpa
