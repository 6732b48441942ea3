#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "settings/LocalizedText.h"

namespace rizorivu::ui {

// The texts of the station view's current-network values and link status.
std::string networkTypeText(const LocalizedText& text, int networkType);
// A rate in units of 1000 bit/s: "11 Mbps", "5.5 Mbps".
std::string rateText(const LocalizedText& text, int rateKbps);
std::string encryptionText(const LocalizedText& text, int wepStatus);
// The debug form of the encryption value: "Q:E S:D", the adapter's answer and the stored one.
std::string encryptionDebugText(int queried, int stored);
// The WPA security a surveyed network advertises, as its details name it: WPA2 (or WPA2-PSK)
// for an RSN element, else WPA (or WPA-PSK) for a WPA element, else nothing. The element
// area is the record's, read bounds-safe.
std::string advertisedSecurityText(const LocalizedText& text,
                                   std::span<const std::uint8_t> elementArea);
// "Connecting..." followed by `dots` groups of "...".
std::string connectingText(const LocalizedText& text, int dots);
// The connected link's text by network type; "Unknown" when none applies.
std::string connectedText(const LocalizedText& text, int networkType, int pseudoIbssSupport);

// The last six signal (dBm) and link-quality (percent) readings, averaged for the bars.
class SignalAverages {
public:
    static constexpr int kSamples = 6;
    static constexpr int kWeakestDbm = -105;
    static constexpr int kStrongestDbm = -40;

    void reset();
    // Adds one reading; an RSSI of -1 (no answer) leaves its slot as it was, as does a missing
    // quality.
    void add(std::optional<int> rssiDbm, std::optional<int> qualityPercent);
    int count() const { return count_; }
    // (average dBm + 105) * 100 / 65, over the readings taken so far.
    int signalPercent() const;
    int qualityPercent() const;

private:
    std::array<int, kSamples> rssi_{};
    std::array<int, kSamples> quality_{};
    int index_ = 0;
    int count_ = 0;
};

}  // namespace rizorivu::ui
