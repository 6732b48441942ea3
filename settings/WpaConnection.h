#pragma once

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
};

}  // namespace rizorivu
