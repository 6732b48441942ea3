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

// The same machine with WPA2 access points: WPA2-PSK with AES, a mixed WPA/WPA2 one with TKIP,
// and WPA2 with 802.1X (its RADIUS server is the test's).
inline std::string wpa2World() {
    return "[Machine]\nSeed=11\n"
           "[Adapter.K540]\nName=\\DEVICE\\K540\nDescription=Nimbo K-540 Wireless USB Adapter\n"
           "ClassInstance=0007\nDeviceId=USB\\VID_F540&PID_0540\nMac=02-00-00-00-05-40\n"
           "Region=16\n"
           "[Network.Psk2]\nSSID=Psk2\nBSSID=02-10-00-00-00-21\nChannel=1\nSignal=-55\n"
           "Security=wpa2-psk\nCipher=aes\nPassphrase=correct horse\n"
           "[Network.Mixed]\nSSID=Mixed\nBSSID=02-10-00-00-00-22\nChannel=6\nSignal=-60\n"
           "Security=wpa2-psk\nAlsoWpa=1\nCipher=tkip\nPassphrase=battery staple\n"
           "GroupRekey=30\n"
           "[Network.Eap2]\nSSID=Eap2\nBSSID=02-10-00-00-00-23\nChannel=11\nSignal=-65\n"
           "Security=wpa2-eap\nCipher=aes\n";
}

constexpr const char* kK540 = "\\DEVICE\\K540";

}  // namespace rizorivu::testing
