#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "sim/AdapterSettings.h"
#include "sim/World.h"

namespace rizorivu::sim {

enum class LinkKind {
    None,            // not associated, nothing started
    Infrastructure,  // associated with an access point
    JoinedCell,      // joined an ad-hoc cell of the world
    StartedCell,     // started an ad-hoc cell of its own, which nobody else is in
    PseudoIbss,      // sends without any association
};

// Which frames move once the link is up.
enum class DataPath {
    Flows,          // both ways
    TransmitOnly,   // open-system WEP with the wrong key (nothing it receives decrypts), or
                    // pseudo-IBSS (nobody answers)
    AfterKeys,      // WPA with an access point: once pairwise and group key are installed
    AfterGroupKey,  // WPA-None in an ad-hoc cell: once the group key is installed
    Silent,         // an own cell without members
};

struct AssociationOutcome {
    LinkKind kind = LinkKind::None;
    std::size_t network = 0;  // index into the world's networks (Infrastructure, JoinedCell)
    MacAddress bssid{};
    int channel = 0;
    int linkKbps = 0;
    DataPath data = DataPath::Silent;

    // The same network on the same channel: no new association needed.
    bool sameLink(const AssociationOutcome& other) const {
        return kind == other.kind && bssid == other.bssid && channel == other.channel;
    }
};

// What the station asks of the radio.
struct StationRequest {
    const ModeSettings& settings;  // SSID, channel and security of station mode
    NetworkType networkType = NetworkType::Infrastructure;
    std::optional<MacAddress> bssid;
    const RateBytes& desiredRates;
    const RateBytes& supportedRates;
    std::span<const std::uint8_t> channels;  // the channels the adapter may use
    MacAddress ownMac{};
};

// The network a station with these settings associates with in `world`:
//  - Network type 3 (pseudo-IBSS) needs no partner: "connected" on the configured channel;
//    with an empty SSID it stays unconnected.
//  - Otherwise a network qualifies when its SSID is the station's (hidden ones included:
//    the station probes for its SSID) or, with an empty SSID, when it broadcasts its SSID
//    (a station that names no network joins any it may: the strongest open one, or one its
//    security settings admit), its channel is one the adapter may use, it is heard
//    (-95 dBm or stronger), its type fits (0 ad hoc, 1 infrastructure, 2 either), it is the
//    chosen BSSID if one was set, a rate is common to it, the adapter and the desired rates,
//    and its security admits the station's:
//      open      encryption off (1), authentication open (0) or auto-switch (2);
//      WEP       encryption WEP (0) and authentication 0-2. Shared key (1) needs the right
//                transmit key and a network that takes shared key; auto-switch (2) tries
//                shared key first, then open system; open system associates with any key,
//                but with the wrong one nothing received decrypts;
//      WPA-PSK   authentication WPA-PSK (4) with an access point, WPA-None (5) in an ad-hoc
//                cell, and encryption TKIP (4) or AES (6) as the network's cipher;
//      WPA-802.1X authentication WPA (3) and the network's cipher;
//      WPA2      as WPA, with WPA2 (6) for 802.1X and WPA2-PSK (7) for the pre-shared key; a
//                mixed access point takes either version.
//    Of the qualifying networks auto mode prefers access points; then the strongest wins.
//  - With none, a station in ad-hoc mode (0) with an SSID and without a chosen BSSID starts
//    its own cell on its configured channel, if the adapter may use that channel.
// The link speed is the highest common rate, in units of 1000 bit/s.
AssociationOutcome chooseAssociation(const World& world, const StationRequest& request);

// The highest rate (500 kbit/s units, basic bit cleared) in both sets; 0 when none.
int bestCommonRate(const RateBytes& a, const RateBytes& b);

}  // namespace rizorivu::sim
