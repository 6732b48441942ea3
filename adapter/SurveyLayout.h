#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace rizorivu::survey {

// The NDIS 802.11 BSSID list the adapter fills: a 32-bit record count, then extended BSSID
// records back to back, each starting with its own length. Every integer is little-endian.
// Offsets within a record:
constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kLength = 0;
constexpr std::size_t kBssid = 4;
constexpr std::size_t kSsidLength = 12;
constexpr std::size_t kSsid = 16;
constexpr std::size_t kPrivacy = 48;
constexpr std::size_t kRssi = 52;
constexpr std::size_t kNetworkTypeInUse = 56;
constexpr std::size_t kConfigurationLength = 60;
constexpr std::size_t kBeaconPeriod = 64;
constexpr std::size_t kAtimWindow = 68;
constexpr std::size_t kFrequency = 72;  // DSConfig, kHz
constexpr std::size_t kFhConfigurationLength = 76;
constexpr std::size_t kInfrastructureMode = 92;
constexpr std::size_t kSupportedRates = 96;
constexpr std::size_t kIeLength = 112;  // the element area's length, fixed fields included
// The element area: time stamp, beacon interval and capability, then the elements proper.
constexpr std::size_t kTimestamp = 116;
constexpr std::size_t kBeaconInterval = 124;
constexpr std::size_t kCapability = 126;
constexpr std::size_t kElements = 128;

constexpr std::size_t kFixedIeBytes = kElements - kTimestamp;
// A record shorter than its fixed part ends any walk of the list.
constexpr std::size_t kMinRecordBytes = kElements;
constexpr std::size_t kBssidBytes = 6;
constexpr std::size_t kSsidBytes = 32;
constexpr std::size_t kRateBytes = 16;
constexpr std::uint32_t kConfigurationBytes = 32;    // NDIS_802_11_CONFIGURATION
constexpr std::uint32_t kFhConfigurationBytes = 16;  // its frequency-hopping part

// NDIS network type in use.
constexpr std::uint32_t kDirectSequence = 1;  // 802.11b only
constexpr std::uint32_t kOfdm24 = 3;          // 802.11g

// Capability bits of the fixed fields.
constexpr std::uint16_t kCapabilityEss = 0x0001;
constexpr std::uint16_t kCapabilityIbss = 0x0002;
constexpr std::uint16_t kCapabilityPrivacy = 0x0010;
constexpr std::uint16_t kCapabilityShortPreamble = 0x0020;
constexpr std::uint16_t kCapabilityShortSlot = 0x0400;

// Information element identifiers.
constexpr std::uint8_t kElementSsid = 0;
constexpr std::uint8_t kElementRates = 1;
constexpr std::uint8_t kElementDsParameter = 3;
constexpr std::uint8_t kElementIbssParameter = 6;
constexpr std::uint8_t kElementRsn = 48;
constexpr std::uint8_t kElementExtendedRates = 50;
constexpr std::uint8_t kElementVendor = 221;

// Records are padded to a multiple of this.
constexpr std::size_t kRecordAlignment = 4;

// Centre frequency of a 2.4 GHz channel, in kHz.
constexpr std::uint32_t channelFrequencyKhz(int channel) {
    return channel == 14 ? 2484000u : 2407000u + 5000u * static_cast<std::uint32_t>(channel);
}

// Channel of a centre frequency in kHz: 2412000-2484000 the 2.4 GHz channels (2484000 is 14),
// 5000000-6000000 the 5 GHz channels; nothing outside both bands.
constexpr std::optional<int> channelFromFrequency(std::int64_t kHz) {
    if (kHz >= 2412000 && kHz <= 2484000) {
        if (kHz == 2484000) {
            return 14;
        }
        return static_cast<int>((kHz / 1000 - 2412) / 5 + 1);
    }
    if (kHz >= 5000000 && kHz <= 6000000) {
        return static_cast<int>((kHz / 1000 - 5000) / 5);
    }
    return std::nullopt;
}

}  // namespace rizorivu::survey
