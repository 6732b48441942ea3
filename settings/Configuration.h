#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/PrivateProfile.h"

namespace rizorivu {

// The values of the configuration file beside the executable, read once at start-up and
// fixed for the life of the process. Every field starts at its default.
struct Configuration {
    // Identifiers read from "MatchingDeviceId0" on, at most this many.
    static constexpr int kMaxDeviceIds = 20;
    // Strings are read with a buffer of this many characters (so at most 255 are kept).
    static constexpr std::size_t kStringBuffer = 256;

    // [MAIN_INFO]
    std::string programMainPageTitle = "Nimbo K-540 Utility";
    std::string companyAbbrev = "Halvo";
    int mainPageUpdateTimeMs = 1000;
    int showBssid = 0;
    int showDbm = 0;
    int pseudoIbssSupport = 1;
    int enableAccessPoint = 0;
    int enable80211d = 1;
    int enableWep256 = 0;
    std::string mlSbcsFile = "QVMLa.INI";
    std::string mlUnicodeFile = "QVMLu.INI";
    int trayIconAnimation = 1;
    int qvxOidMode = 0;
    int debugMode = 0;
    int wpaMode = 0;
    int releaseMode = 0;
    int showCurrentTxDataRate = 0;
    int noStartSiteSurvey = 0;
    int professionalModeOnly = 0;
    int perStopSilenceTime = 5;
    std::string bridgeProgram = "VERedEzu.EXE";

    // [ADAPTER_INFORMATION]: the plug-and-play identifiers of the supported adapters, in
    // order. Reading stops at the first absent or empty value, so a gap in the numbering
    // ends the list.
    std::vector<std::string> matchingDeviceIds;

    friend bool operator==(const Configuration&, const Configuration&) = default;
};

// Fills a Configuration from the file; never fails (an absent file or key gives the default).
Configuration loadConfiguration(PrivateProfile& profile, const std::filesystem::path& file);

}  // namespace rizorivu
