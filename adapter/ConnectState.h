#pragma once

namespace rizorivu {

// QueryWL_ConnectState: whether the station is associated, or the access point beacons with
// its settings in effect.
enum class ConnectState : int {
    Connected = 0,
    NotConnected = 1,
};

}  // namespace rizorivu
