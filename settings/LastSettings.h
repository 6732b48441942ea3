#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/CodePage.h"
#include "settings/ApplicationKey.h"
#include "settings/OperatingMode.h"
#include "settings/SettingRecord.h"

namespace rizorivu {

// The last values applied to the adapter in each operating mode, kept as strings (integers in
// decimal) under LastSetting\Station and LastSetting\AccessPoint. Reads and writes without an
// explicit mode go to the section of the current operating mode.
// Used from the interface thread and the WPA worker at once; each value is read or written
// whole by the registry store.
class LastSettings {
public:
    static constexpr std::size_t kDefaultWepKeyBytes = 29;

    LastSettings(const ApplicationKey& appKey, const OperatingMode& mode, const CodePage& ansi);

    // "LastSetting\Station" or "LastSetting\AccessPoint"; empty for any other mode.
    static std::string sectionKey(int mode);

    // The string value `name` of the section of `mode`; empty when absent or for a mode
    // other than 0 or 1.
    std::string lastSettingText(int mode, std::string_view name) const;
    // The value `name` of the current mode's section as a decimal number; -1 when the value
    // is absent or empty.
    std::int32_t lastSettingInt(std::string_view name) const;
    // 0, or -1 when the write failed or `mode` is neither 0 nor 1. An empty text is written
    // as an empty string.
    int writeLastSetting(int mode, std::string_view name, std::string_view text) const;

    // The bytes of WEP key `index` of key length `bits` (64, 128 or 256: 5, 13 or 29 bytes)
    // from the current mode's section, or the built-in default key when none is stored.
    // -1, leaving `buffer` untouched, for any other length or index or a too small buffer.
    int readWepKeyBytes(int bits, int index, std::span<std::uint8_t> buffer) const;

    // The built-in default key bytes; 64- and 128-bit keys use its first 5 and 13 bytes.
    static std::array<std::uint8_t, kDefaultWepKeyBytes> defaultWepKey();

    int currentMode() const { return mode_.get(); }
    const CodePage& codePage() const { return ansi_; }

private:
    const ApplicationKey& appKey_;
    const OperatingMode& mode_;
    const CodePage& ansi_;
};

// The decimal text-to-integer conversion of stored settings: leading blanks, an optional sign,
// then digits; 0 when no digit follows; saturates at the limits of a 32-bit integer.
std::int32_t decimalTextToInt(std::string_view text);

}  // namespace rizorivu
