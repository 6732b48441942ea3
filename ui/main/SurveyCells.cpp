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

std::string ssidText(std::span<const std::uint8_t> bytes, const CodePage& ansi) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    const std::string raw(bytes.begin(), end);
    return ansi.fromAnsi(raw);
}

}  // namespace rizorivu::ui
