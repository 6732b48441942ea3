#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "adapter/SurveyRecord.h"
#include "platform/CodePage.h"

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

// The SSID cell: the bytes up to the first zero byte, read in the ANSI code page as the
// information box reads the current SSID, so a network shows alike in both (0xE9 is "é" in
// Windows-1252; 0x93 0xFA is "日" in code page 932). Bytes the code page cannot decode show
// as "?", so any SSID makes valid UTF-8 text.
std::string ssidText(std::span<const std::uint8_t> bytes, const CodePage& ansi);

}  // namespace rizorivu::ui
