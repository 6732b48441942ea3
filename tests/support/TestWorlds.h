#pragma once

#include <string>

namespace rizorivu::testing {

// A machine with the product's adapter (FCC region, 802.11b/g rates), an open network,
// a WEP network and a WPA-PSK one, and two access-point clients.
inline std::string settingsWorld() {
    return "[Machine]\nSeed=11\n"
           "[Adapter.K540]\nName=\\DEVICE\\K540\nDescription=Nimbo K-540 Wireless USB Adapter\n"
           "ClassInstance=0007\nDeviceId=USB\\VID_F540&PID_0540\nMac=02-00-00-00-05-40\n"
           "Region=16\n"
           "[Network.Home]\nSSID=Home\nBSSID=02-10-00-00-00-01\nChannel=6\nSignal=-50\n"
           "[Network.Wep]\nSSID=Wep\nBSSID=02-10-00-00-00-02\nChannel=3\nSignal=-60\n"
           "Security=wep\nWepKey=01 02 03 04 05\n"
           "[Network.Psk]\nSSID=Psk\nBSSID=02-10-00-00-00-03\nChannel=11\nSignal=-65\n"
           "Security=wpa-psk\nCipher=aes\nPassphrase=correct horse\n"
           "[Client.Laptop]\nMac=00-00-00-00-FF-01\n"
           "[Client.Phone]\nMac=02-C0-00-00-00-0B\n";
}

constexpr const char* kK540 = "\\DEVICE\\K540";

}  // namespace rizorivu::testing
