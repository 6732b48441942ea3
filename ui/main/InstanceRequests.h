#pragma once

#include "settings/ApplicationKey.h"

namespace rizorivu::ui {

// The requests a later start leaves for the running instance in the application key: close,
// or show the window. The status tick takes them one at a time.
class InstanceRequests {
public:
    enum class Request { None, Exit, WakeUp };

    explicit InstanceRequests(const ApplicationKey& key) : key_(key) {}

    // Answers the pending request and clears it; an exit request wins, and a wake-up request
    // beside it stays for a later tick.
    Request take() const;

private:
    const ApplicationKey& key_;
};

}  // namespace rizorivu::ui
