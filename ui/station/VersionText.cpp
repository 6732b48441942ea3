#include "ui/station/VersionText.h"

#include "settings/NumberText.h"

namespace rizorivu::ui {

namespace {

constexpr int kCenturyStart = 2000;
constexpr unsigned kUtilityMajor = 1;
constexpr unsigned kUtilityMinor = 1;
constexpr unsigned kUtilityMonth = 7;
constexpr unsigned kUtilityDay = 8;
constexpr unsigned kUtilityYear = 2004;

std::string versionText(unsigned major, unsigned minor, unsigned month, unsigned day,
                        unsigned year) {
    return decimalText(major) + "." + decimalText(minor) + "." + decimalText(month, 2) +
           upperHexText(day, 2) + "." + decimalText(year, 4);
}

}  // namespace

std::string driverVersionText(std::uint32_t packed) {
    return versionText(packed >> 24, (packed >> 16) & 0xFFu, (packed >> 8) & 0x0Fu, packed & 0xFFu,
                       kCenturyStart + ((packed >> 12) & 0x0Fu));
}

std::string utilityVersionText(std::string_view buildDate, std::string_view buildTime) {
    std::string text =
        versionText(kUtilityMajor, kUtilityMinor, kUtilityMonth, kUtilityDay, kUtilityYear);
    text += " - ";
    text += buildDate;
    text += ' ';
    text += buildTime;
    return text;
}

std::string macAddressText(std::span<const std::uint8_t> mac) {
    std::string text;
    for (const std::uint8_t byte : mac) {
        if (!text.empty()) {
            text += ' ';
        }
        text += upperHexText(byte, 2);
    }
    return text;
}

}  // namespace rizorivu::ui
