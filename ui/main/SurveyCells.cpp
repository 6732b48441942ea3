#include "ui/main/SurveyCells.h"

#include <algorithm>

#include "settings/NumberText.h"

namespace rizorivu::ui {

std::int32_t clampRssi(std::int32_t rssi) {
    return std::clamp(rssi, kWeakestRssi, kStrongestRssi);
}

std::string strengthText(std::int32_t rssi, bool showDbm) {
    if (showDbm) {
        return decimalText(rssi) + " dBm";
    }
    const int percent = (clampRssi(rssi) - kWeakestRssi) * 100 / (kStrongestRssi - kWeakestRssi);
    return decimalText(percent) + "%";
}

StrengthCell fillStrength(const SurveyRecordView& record, bool showDbm) {
    std::int32_t rssi = record.rssi();
    if (!showDbm) {
        rssi = clampRssi(rssi);
        record.setRssi(rssi);
    }
    return StrengthCell{strengthText(rssi, showDbm), rssi};
}

std::string ssidText(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (const std::uint8_t byte : bytes) {
        if (byte == 0) {
            break;
        }
        if (byte < 0x80) {
            text.push_back(static_cast<char>(byte));
        } else {
            text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return text;
}

}  // namespace rizorivu::ui
