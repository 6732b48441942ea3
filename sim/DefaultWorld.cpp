#include "sim/DefaultWorld.h"

namespace rizorivu::sim {

namespace {

// Addresses are locally administered (02-...), so none belongs to a real manufacturer.
constexpr std::string_view kDefaultWorld =
    R"ini(; The simulated adapter's built-in radio world (format: sim/WORLD.md).
[Machine]
OsFamily=nt
OsCode=6
Seed=540
ZeroConfigService=running

[Adapter.K540]
Name=\DEVICE\{5A0E3C21-7B44-4F0B-9D1E-0540F5400001}
Description=Nimbo K-540 Wireless USB Adapter
ClassInstance=0007
DeviceId=USB\VID_F540&PID_0540
Mac=02-4B-35-40-00-01
Usb=2.0
DriverVersion=1.2
DriverDate=2004-07-15
Rates=1* 2* 5.5* 11* 6 9 12 18 24 36 48 54
AccessPoint=1
Region=0x10
MultiDomain=0
ZeroConfig=0

[Adapter.Ethernet]
Name=\DEVICE\{C3D1A7E2-19F0-4E6B-8A52-7D3E10A0E001}
Description=Onboard Fast Ethernet Controller
ClassInstance=0001
DeviceId=PCI\VEN_1A2B&DEV_0E31
Kind=ethernet
Mac=02-E7-11-00-00-01

[Network.Open]
SSID=Halvo Guest
BSSID=02-A0-00-00-00-01
Channel=1
Signal=-48
Security=open

[Network.Wep64]
SSID=Lindgren
BSSID=02-A0-00-00-00-02
Channel=6
Signal=-61
Security=wep
WepKey=1A 2B 3C 4D 5E
Rates=1* 2* 5.5* 11*

[Network.Wep128]
SSID=Orchard Lane
BSSID=02-A0-00-00-00-03
Channel=11
Signal=-70
Security=wep
WepKey=0F 1E 2D 3C 4B 5A 69 78 87 96 A5 B4 C3
WepAuth=shared

[Network.PskTkip]
SSID=Harbor
BSSID=02-A0-00-00-00-04
Channel=3
Signal=-57
Security=wpa-psk
Cipher=tkip
Passphrase=harbor tide at noon

[Network.PskAes]
SSID=Summit
BSSID=02-A0-00-00-00-05
Channel=9
Signal=-66
Security=wpa-psk
Cipher=aes
Passphrase=thin air, long views

[Network.Eap]
SSID=Campus
BSSID=02-A0-00-00-00-06
Channel=6
Signal=-73
Security=wpa-eap
Cipher=tkip
; tools/run.sh starts the RADIUS server; its demonstration account is student / library-card.
Radius=127.0.0.1:18121
RadiusSecret=lab-radius-secret

[Network.AdHoc]
SSID=Workshop
BSSID=02-A0-00-00-00-07
Channel=10
Signal=-75
Type=adhoc
Security=open
Rates=1* 2* 5.5* 11*

[Network.Hidden]
SSID=Attic
BSSID=02-A0-00-00-00-08
Channel=4
Signal=-80
Security=open
Hidden=1

[Network.Far]
SSID=Old Mill
BSSID=02-A0-00-00-00-09
Channel=13
Signal=-88
Security=open
Rates=1* 2* 5.5* 11*

[Network.Wpa2Psk]
SSID=Lighthouse
BSSID=02-A0-00-00-00-0A
Channel=11
Signal=-63
Security=wpa2-psk
Cipher=aes
Passphrase=beam across the bay

[Client.Laptop]
Mac=02-C0-00-00-00-01

[Client.Phone]
Mac=02-C0-00-00-00-02

[Client.Printer]
Mac=02-C0-00-00-00-03
SSID=WLAN_AP
)ini";

}  // namespace

std::string_view defaultWorldText() {
    return kDefaultWorld;
}

}  // namespace rizorivu::sim
