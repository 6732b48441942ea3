#include "settings/Configuration.h"

namespace rizorivu {

namespace {

constexpr std::string_view kMainInfo = "MAIN_INFO";
constexpr std::string_view kAdapterInformation = "ADAPTER_INFORMATION";

}  // namespace

Configuration loadConfiguration(PrivateProfile& profile, const std::filesystem::path& file) {
    Configuration c;
    const auto text = [&](std::string_view key, const std::string& fallback) {
        return profile.getString(file, kMainInfo, key, fallback, Configuration::kStringBuffer);
    };
    const auto number = [&](std::string_view key, int fallback) {
        return profile.getInt(file, kMainInfo, key, fallback);
    };

    c.programMainPageTitle = text("Program_Main_Page_Title", c.programMainPageTitle);
    c.companyAbbrev = text("Company_Abbrev", c.companyAbbrev);
    c.mainPageUpdateTimeMs = number("Main_Page_Update_Time_ms", c.mainPageUpdateTimeMs);
    c.showBssid = number("Show_BSSID", c.showBssid);
    c.showDbm = number("Show_dBm", c.showDbm);
    c.pseudoIbssSupport = number("PseudoIBSSSupport", c.pseudoIbssSupport);
    c.enableAccessPoint = number("EnableAccessPoint", c.enableAccessPoint);
    c.enable80211d = number("Enable_802.11d", c.enable80211d);
    c.enableWep256 = number("Enable_WEP256", c.enableWep256);
    c.mlSbcsFile = text("ML_SBCS_File", c.mlSbcsFile);
    c.mlUnicodeFile = text("ML_Unicode_File", c.mlUnicodeFile);
    c.trayIconAnimation = number("TrayIconAnimation", c.trayIconAnimation);
    c.qvxOidMode = number("QVXOidMode", c.qvxOidMode);
    c.debugMode = number("DebugMode", c.debugMode);
    c.wpaMode = number("WPAMode", c.wpaMode);
    c.releaseMode = number("Release_Mode", c.releaseMode);
    c.showCurrentTxDataRate = number("Show_Current_Tx_Data_Rate", c.showCurrentTxDataRate);
    c.noStartSiteSurvey = number("NoStartSiteSurvey", c.noStartSiteSurvey);
    c.professionalModeOnly = number("ProfessionalModeOnly", c.professionalModeOnly);
    c.perStopSilenceTime = number("PERStopSilenceTime", c.perStopSilenceTime);
    c.bridgeProgram = text("Bridge_Program", c.bridgeProgram);

    for (int i = 0; i < Configuration::kMaxDeviceIds; ++i) {
        std::string id =
            profile.getString(file, kAdapterInformation, "MatchingDeviceId" + std::to_string(i), "",
                              Configuration::kStringBuffer);
        if (id.empty()) {
            break;
        }
        c.matchingDeviceIds.push_back(std::move(id));
    }
    return c;
}

}  // namespace rizorivu
