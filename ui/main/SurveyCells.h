#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "adapter/SurveyRecord.h"

namespace rizorivu::ui {

// The signal strength column: "%d dBm" when dBm are shown, otherwise the strength clamped to
// [-105, -40] dBm as a percentage, "%d%%" of (rssi + 105) * 100 / 65.
constexpr std::int32_t kWeakestRssi = -105;
constexpr std::int32_t kStrongestRssi = -40;
std::int32_t clampRssi(std::int32_t rssi);
std::string strengthText(std::int32_t rssi, bool showDbm);

// As the list fill shows a record: in percent the record's strength is clamped and the
// clamped value written back into the buffer; in dBm the record is left alone.
struct StrengthCell {
    std::string text;
    std::int32_t rssi = 0;  // the record's strength after the fill
};
StrengthCell fillStrength(const SurveyRecordView& record, bool showDbm);

// The SSID cell: every byte is one character, a zero byte ends the text. Bytes above 0x7F are
// taken as Latin-1 and come out as the UTF-8 form of that character, so any SSID makes valid
// UTF-8 text (0xE9 shows as "é").
std::string ssidText(std::span<const std::uint8_t> bytes);

}  // namespace rizorivu::ui
