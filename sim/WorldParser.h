#pragma once

#include <string>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/Result.h"
#include "sim/World.h"

namespace rizorivu::sim {

// A world file that cannot be used: where and why.
struct WorldError {
    std::string file;
    int line = 0;
    std::string message;

    // "file:line: message"
    std::string text() const;
};

// Reads a radio world from INI text (the project's profile reader supplies the values, with
// its encodings, case rules, trimming and quote removal). sim/WORLD.md has an example.
//
// Lines are sections, key=value pairs or comments (";" first). A comment cannot follow a
// value on its line. Every section and key must be known, none may repeat, and numbers must
// lie in their ranges; anything else is an error naming the line.
//
// [Machine]              (optional)
//   OsFamily=nt|9x                     nt; selects the class-key path and the OS queries
//   OsCode=0-255                       6; answered by QV_GetOSVersion
//   Seed=0-4294967295                  1; seeds the signal jitter
//   ZeroConfigService=running|stopped  running
//
// [Adapter.<id>]         one per network adapter, in list order
//   Name, Description, DeviceId        required texts (at most 259, 259, 511 bytes)
//   ClassInstance                      required, four decimal digits ("0007")
//   Mac                                required, six hex bytes (00-11-22-33-44-55)
//   Kind=wireless|ethernet             wireless; an Ethernet card is listed, never opened
//   Present=0|1, Openable=0|1          1, 1
//   Usb=1.1|2.0                        2.0
//   DriverVersion=<major>.<minor>      1.0, each 0-255
//   DriverDate=YYYY-MM-DD              2004-07-15, years 2000-2015
//   Rates                              Mbit/s values, "*" marks a basic rate, at most 16
//                                      (default 1* 2* 5.5* 11* 6 9 12 18 24 36 48 54)
//   PnPWorkaround=0|1                  0; Query_FixWindisPnPBug answers 1 while such an
//                                      adapter is present
//   AccessPoint=0|1                    1; whether access-point mode is allowed
//   Region                             0x10; a non-zero code of the region table
//   MultiDomain=0|1                    0
//   ZeroConfig=0|1|2                   0; the Zero Configuration status at plug-in, and
//                                      again whenever an edit changes it
//   Mode=station|ap                    station; the mode at plug-in
//
// [Network.<id>]         an access point or ad-hoc cell
//   SSID                               required, 1-32 bytes in the ANSI code page
//   BSSID                              required, unicast, unique in the world
//   Channel=1-14                       required
//   Signal=-100..-10                   -60 (dBm)
//   Type=infra|adhoc                   infra
//   Security=open|wep|wpa-psk|wpa-eap  open (wpa-eap needs Type=infra)
//   WepKey                             wep only, required: 5, 13 or 29 hex bytes
//   WepAuth=both|open|shared           wep only; both
//   Cipher=tkip|aes                    wpa-psk and wpa-eap only, required
//   GroupCipher=wep40|wep104|tkip|aes  WPA access points only; the pairwise cipher (aes
//                                      only with Cipher=aes)
//   Passphrase                         wpa-psk only, required, 8-63 printable ASCII
//   GroupRekey=0-86400                 wpa-psk access points only; 0 (seconds, 0 never)
//   Identity, Password                 wpa-eap only, optional
//   Hidden=0|1                         0; the beacon carries an empty SSID
//   Rates                              as for an adapter
//
// [Client.<id>]          a station that joins the adapter in access-point mode
//   Mac                                required, unicast, unique
//   SSID                               empty: any access point that broadcasts its SSID
Result<World, WorldError> parseWorld(std::string_view bytes, std::string_view fileLabel,
                                     const CodePage& ansi);

}  // namespace rizorivu::sim
