#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace rizorivu::sim {

using MacAddress = std::array<std::uint8_t, 6>;

// Rates in units of 500 kbit/s, one a byte as the supported-rates element carries them; 0x80
// marks a basic rate and a zero byte ends the list.
using RateBytes = std::array<std::uint8_t, 16>;

enum class OsFamily { WindowsNt, Windows9x };
enum class AdapterKind { Wireless, Ethernet };
enum class BssType { Infrastructure, AdHoc };
// WpaPsk and WpaEap name the key management; which WPA versions the network speaks is apart.
enum class Security { Open, Wep, WpaPsk, WpaEap };
// WPA's vendor element, the RSN element of WPA2, or both (a mixed access point that takes
// stations of either version).
enum class WpaVersions { Wpa, Wpa2, Both };
enum class Cipher { None, Tkip, Aes };
// The cipher of a WPA network's broadcast frames: the pairwise one, or a weaker one that older
// stations in the same network still understand.
enum class GroupCipher { SameAsPairwise, Wep40, Wep104, Tkip };
// Which 802.11 authentication algorithms a WEP network admits.
enum class WepAuthentication { OpenOrShared, OpenOnly, SharedOnly };

// The machine the adapters are plugged into.
struct WorldMachine {
    OsFamily family = OsFamily::WindowsNt;
    int osCode = 6;  // what QV_GetOSVersion answers
    std::uint32_t seed = 1;
    bool zeroConfigRunning = true;  // the service's state when the world is loaded
};

// One network adapter of the machine. Texts are UTF-8; the driver hands them out in the ANSI
// code page.
struct WorldAdapter {
    std::string name;
    std::string description;
    std::string classInstance;
    std::string deviceId;
    AdapterKind kind = AdapterKind::Wireless;
    bool present = true;
    bool openable = true;
    int usbType = 1;  // 0: USB 1.1, 1: USB 2.0
    std::uint32_t driverVersion = 0;
    MacAddress mac{};
    RateBytes rates{};
    bool pnpWorkaround = false;
    bool accessPointCapable = true;
    int regionCode = 0x10;  // the factory region, used whenever the adapter is plugged in
    int multiDomain = 0;
    int zeroConfigStatus = 0;
    int operationMode = 0;  // 0 station, 1 access point, at plug-in
};

// An access point or ad-hoc cell on the air.
struct WorldNetwork {
    std::string ssid;  // the bytes on the air (the SSID text in the ANSI code page)
    MacAddress bssid{};
    int channel = 1;
    int signalDbm = -60;
    BssType type = BssType::Infrastructure;
    Security security = Security::Open;
    WpaVersions wpaVersions = WpaVersions::Wpa;
    Cipher cipher = Cipher::None;
    GroupCipher groupCipher = GroupCipher::SameAsPairwise;
    int groupRekeySeconds = 0;  // WPA-PSK access point; 0: the group key is never renewed
    WepAuthentication wepAuthentication = WepAuthentication::OpenOrShared;
    std::vector<std::uint8_t> wepKey;  // 5, 13 or 29 bytes for a WEP network
    std::string passphrase;            // WPA-PSK; never printed
    // wpa-eap: the RADIUS server the access point asks, and their shared secret (never printed).
    std::string radiusHost = "127.0.0.1";
    std::uint16_t radiusPort = 18121;
    std::string radiusSecret = "lab-radius-secret";
    bool hidden = false;
    RateBytes rates{};
};

// A station that associates with the adapter while it runs as an access point.
// It comes and goes as the world file's `Present` says, and looks for access points on one
// channel or on all of them.
struct WorldClient {
    MacAddress mac{};
    std::string ssid;  // ANSI bytes; empty: joins any access point that broadcasts its SSID
    bool present = true;
    int channel = 0;  // 0: every channel
};

struct World {
    WorldMachine machine;
    std::vector<WorldAdapter> adapters;
    std::vector<WorldNetwork> networks;
    std::vector<WorldClient> clients;
};

// The packed driver version: major, minor, year - 2000, month and the day in BCD.
constexpr std::uint32_t packDriverVersion(int major, int minor, int year, int month, int day) {
    return static_cast<std::uint32_t>(major & 0xFF) << 24 |
           static_cast<std::uint32_t>(minor & 0xFF) << 16 |
           static_cast<std::uint32_t>((year - 2000) & 0xF) << 12 |
           static_cast<std::uint32_t>(month & 0xF) << 8 |
           static_cast<std::uint32_t>((day / 10) << 4 | day % 10);
}

}  // namespace rizorivu::sim
