#include "settings/LastSettings.h"

#include <algorithm>
#include <limits>

#include "platform/Unicode.h"
#include "settings/HexText.h"

namespace rizorivu {

namespace {

constexpr std::string_view kStationSection = "LastSetting\\Station";
constexpr std::string_view kAccessPointSection = "LastSetting\\AccessPoint";

// Longest key text taken from the registry, and the code-page buffer it is converted into.
constexpr std::size_t kKeyTextChars = 99;

}  // namespace

std::int32_t decimalTextToInt(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = std::min(value * 10 + (text[pos] - '0'), kLimit);
        ++pos;
    }
    if (negative) {
        value = -value;
    }
    value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(value);
}

LastSettings::LastSettings(const ApplicationKey& appKey, const OperatingMode& mode,
                           const CodePage& ansi)
    : appKey_(appKey), mode_(mode), ansi_(ansi) {}

std::string LastSettings::sectionKey(int mode) {
    if (mode == OperatingMode::kStation) {
        return std::string(kStationSection);
    }
    if (mode == OperatingMode::kAccessPoint) {
        return std::string(kAccessPointSection);
    }
    return {};
}

std::string LastSettings::lastSettingText(int mode, std::string_view name) const {
    const std::string section = sectionKey(mode);
    if (section.empty()) {
        return {};
    }
    return appKey_.readString(section, name).value_or(std::string());
}

std::int32_t LastSettings::lastSettingInt(std::string_view name) const {
    const std::string text = lastSettingText(mode_.get(), name);
    if (text.empty()) {
        return -1;
    }
    return decimalTextToInt(text);
}

int LastSettings::writeLastSetting(int mode, std::string_view name, std::string_view text) const {
    const std::string section = sectionKey(mode);
    if (section.empty()) {
        return -1;
    }
    return appKey_.writeString(section, name, text) ? 0 : -1;
}

std::array<std::uint8_t, LastSettings::kDefaultWepKeyBytes> LastSettings::defaultWepKey() {
    // A fixed sequence: a linear congruential generator from a fixed seed, so every
    // installation derives the same bytes without storing them.
    std::array<std::uint8_t, kDefaultWepKeyBytes> key{};
    std::uint32_t state = 0x4B353430u;
    for (auto& byte : key) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return key;
}

int LastSettings::readWepKeyBytes(int bits, int index, std::span<std::uint8_t> buffer) const {
    if ((bits != 64 && bits != 128 && bits != 256) || index < 0 || index > 3) {
        return -1;
    }
    const std::size_t n = static_cast<std::size_t>(bits / 8 - 3);
    if (buffer.size() < n) {
        return -1;
    }
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    const std::string text = lastSettingText(mode_.get(), wepKeyValueName(bits, index));
    if (text.empty()) {
        const auto key = defaultWepKey();
        std::copy_n(key.begin(), n, buffer.begin());
        return 0;
    }
    std::string bytes = ansi_.toAnsi(utf8Prefix(text, kKeyTextChars));
    if (bytes.size() > kKeyTextChars) {
        bytes.resize(kKeyTextChars);
    }
    HexTextToBytes(bytes, buffer.first(n));
    return 0;
}

}  // namespace rizorivu
