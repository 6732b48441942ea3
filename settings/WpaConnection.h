#pragma once

#include <functional>

namespace rizorivu {

// The WPA connection of the station's stored WPA settings, run by the WPA worker. Applying a
// profile or replaying the last settings starts it when the stored authentication is WPA,
// WPA-PSK or WPA-None; the main window stops it when the adapter goes away or the utility
// ends.
class WpaConnection {
public:
    virtual ~WpaConnection() = default;
    virtual void startWpaConnection() = 0;
    virtual void stopWpaConnection() = 0;

    // Told when the chosen client certificate's private key cannot be exported and no
    // supplicant runs. It is called on the worker's thread: the receiver hands it to the
    // interface thread and returns at once. A connection that exports no keys never calls it.
    using KeyNotExportable = std::function<void()>;
    virtual void onKeyNotExportable(KeyNotExportable) {}
};

}  // namespace rizorivu
