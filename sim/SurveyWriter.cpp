#include "sim/SurveyWriter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "adapter/ByteOrder.h"
#include "adapter/DriverCode.h"
#include "adapter/NetworkType.h"
#include "adapter/SurveyLayout.h"
#include "sim/BeaconElements.h"

namespace rizorivu::sim {

namespace {

bool hasOfdmRate(const RateBytes& rates) {
    return std::any_of(rates.begin(), rates.end(), [](std::uint8_t r) {
        const int rate = r & 0x7F;
        return rate != 0 && rate != 2 && rate != 4 && rate != 11 && rate != 22;
    });
}

// Writes one record at `out`, which has room for `size` bytes; `size` is the record's
// padded length.
void writeRecord(const BssDescription& bss, const std::vector<std::uint8_t>& elements,
                 std::uint8_t* out, std::size_t size) {
    using namespace survey;
    std::memset(out, 0, size);
    const bool ofdm = hasOfdmRate(bss.rates);
    const bool privacy = bss.security != Security::Open;

    putLe32(out + kLength, static_cast<std::uint32_t>(size));
    std::copy(bss.bssid.begin(), bss.bssid.end(), out + kBssid);
    const std::size_t ssidLength = std::min(bss.ssid.size(), kSsidBytes);
    putLe32(out + kSsidLength, static_cast<std::uint32_t>(ssidLength));
    std::memcpy(out + kSsid, bss.ssid.data(), ssidLength);
    putLe32(out + kPrivacy, privacy ? 1 : 0);
    putLe32(out + kRssi, static_cast<std::uint32_t>(bss.rssiDbm));
    putLe32(out + kNetworkTypeInUse, ofdm ? kOfdm24 : kDirectSequence);
    putLe32(out + kConfigurationLength, kConfigurationBytes);
    putLe32(out + kBeaconPeriod, bss.beaconIntervalTu);
    putLe32(out + kAtimWindow, 0);
    putLe32(out + kFrequency, channelFrequencyKhz(bss.channel));
    putLe32(out + kFhConfigurationLength, kFhConfigurationBytes);
    putLe32(out + kInfrastructureMode,
            static_cast<std::uint32_t>(toDriver(
                bss.type == BssType::AdHoc ? NetworkType::AdHoc : NetworkType::Infrastructure)));
    std::copy(bss.rates.begin(), bss.rates.end(), out + kSupportedRates);
    putLe32(out + kIeLength, static_cast<std::uint32_t>(kFixedIeBytes + elements.size()));

    putLe64(out + kTimestamp, bss.timestampUs);
    putLe16(out + kBeaconInterval, bss.beaconIntervalTu);
    std::uint16_t capability = bss.type == BssType::AdHoc ? kCapabilityIbss : kCapabilityEss;
    if (privacy) {
        capability |= kCapabilityPrivacy;
    }
    capability |= kCapabilityShortPreamble;
    if (ofdm) {
        capability |= kCapabilityShortSlot;
    }
    putLe16(out + kCapability, capability);
    std::copy(elements.begin(), elements.end(), out + kElements);
}

}  // namespace

int writeSurvey(std::span<const BssDescription> entries, std::span<std::uint8_t> buffer) {
    if (buffer.size() < survey::kCountBytes) {
        return -1;
    }
    std::size_t offset = survey::kCountBytes;
    std::uint32_t count = 0;
    for (const BssDescription& bss : entries) {
        const std::vector<std::uint8_t> elements = beaconElements(bss);
        const std::size_t unpadded = survey::kElements + elements.size();
        const std::size_t size = (unpadded + survey::kRecordAlignment - 1) /
                                 survey::kRecordAlignment * survey::kRecordAlignment;
        if (size > buffer.size() - offset) {
            break;
        }
        writeRecord(bss, elements, buffer.data() + offset, size);
        offset += size;
        ++count;
    }
    putLe32(buffer.data(), count);
    return static_cast<int>(count);
}

}  // namespace rizorivu::sim
