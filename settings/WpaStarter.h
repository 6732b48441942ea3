#pragma once

namespace rizorivu {

// Starts the WPA connection for the station's stored WPA settings. Applying a profile or
// replaying the last settings ends with it when the stored authentication is WPA, WPA-PSK
// or WPA-None; the WPA worker provides it.
class WpaStarter {
public:
    virtual ~WpaStarter() = default;
    virtual void startWpaConnection() = 0;
};

}  // namespace rizorivu
