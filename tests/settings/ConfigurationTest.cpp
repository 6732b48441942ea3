#include "settings/Configuration.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace rizorivu {
namespace {

class ConfigurationTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    CodePage ansi{CodePage::kDefaultName};
    PrivateProfile profile{ansi};

    Configuration load(std::string_view text) {
        return loadConfiguration(profile, dir.write("rizorivu.INI", text));
    }
};

TEST_F(ConfigurationTest, AbsentFileGivesEveryDefault) {
    const Configuration c = loadConfiguration(profile, dir / "absent.INI");
    EXPECT_EQ(c, Configuration{});
    EXPECT_EQ(c.programMainPageTitle, "Nimbo K-540 Utility");
    EXPECT_EQ(c.companyAbbrev, "Halvo");
    EXPECT_EQ(c.mainPageUpdateTimeMs, 1000);
    EXPECT_EQ(c.pseudoIbssSupport, 1);
    EXPECT_EQ(c.enable80211d, 1);
    EXPECT_EQ(c.trayIconAnimation, 1);
    EXPECT_EQ(c.perStopSilenceTime, 5);
    EXPECT_EQ(c.mlUnicodeFile, "QVMLu.INI");
    EXPECT_EQ(c.mlSbcsFile, "QVMLa.INI");
    EXPECT_EQ(c.bridgeProgram, "VERedEzu.EXE");
    EXPECT_TRUE(c.matchingDeviceIds.empty());
}

TEST_F(ConfigurationTest, ReadsEveryKeyOfMainInfo) {
    const Configuration c = load(
        "[main_info]\n"
        "Program_Main_Page_Title=My Title\n"
        "Company_Abbrev=Acme\n"
        "Main_Page_Update_Time_ms=250\n"
        "Show_BSSID=1\nShow_dBm=2\nPseudoIBSSSupport=0\nEnableAccessPoint=1\n"
        "Enable_802.11d=0\nEnable_WEP256=1\nML_SBCS_File=a.ini\nML_Unicode_File=u.ini\n"
        "TrayIconAnimation=3\nQVXOidMode=7\nDebugMode=1\nWPAMode=1\nRelease_Mode=1\n"
        "Show_Current_Tx_Data_Rate=1\nNoStartSiteSurvey=1\nProfessionalModeOnly=1\n"
        "PERStopSilenceTime=9\nBridge_Program=other.exe\n");
    EXPECT_EQ(c.programMainPageTitle, "My Title");
    EXPECT_EQ(c.companyAbbrev, "Acme");
    EXPECT_EQ(c.mainPageUpdateTimeMs, 250);
    EXPECT_EQ(c.showBssid, 1);
    EXPECT_EQ(c.showDbm, 2);
    EXPECT_EQ(c.pseudoIbssSupport, 0);
    EXPECT_EQ(c.enableAccessPoint, 1);
    EXPECT_EQ(c.enable80211d, 0);
    EXPECT_EQ(c.enableWep256, 1);
    EXPECT_EQ(c.mlSbcsFile, "a.ini");
    EXPECT_EQ(c.mlUnicodeFile, "u.ini");
    EXPECT_EQ(c.trayIconAnimation, 3);
    EXPECT_EQ(c.qvxOidMode, 7);
    EXPECT_EQ(c.debugMode, 1);
    EXPECT_EQ(c.wpaMode, 1);
    EXPECT_EQ(c.releaseMode, 1);
    EXPECT_EQ(c.showCurrentTxDataRate, 1);
    EXPECT_EQ(c.noStartSiteSurvey, 1);
    EXPECT_EQ(c.professionalModeOnly, 1);
    EXPECT_EQ(c.perStopSilenceTime, 9);
    EXPECT_EQ(c.bridgeProgram, "other.exe");
}

TEST_F(ConfigurationTest, IntegersTakeLeadingDigitsOnly) {
    const Configuration c = load("[MAIN_INFO]\nMain_Page_Update_Time_ms=500ms\nShow_dBm=yes\n");
    EXPECT_EQ(c.mainPageUpdateTimeMs, 500);
    EXPECT_EQ(c.showDbm, 0);
}

TEST_F(ConfigurationTest, LongStringsAreCutTo255Characters) {
    const Configuration c =
        load("[MAIN_INFO]\nProgram_Main_Page_Title=" + std::string(300, 'x') + "\n");
    EXPECT_EQ(c.programMainPageTitle, std::string(255, 'x'));
}

struct DeviceListCase {
    const char* name;
    std::string section;
    std::vector<std::string> expected;
};

void PrintTo(const DeviceListCase& c, std::ostream* os) {
    *os << c.name;
}

class DeviceListTest : public ConfigurationTest,
                       public ::testing::WithParamInterface<DeviceListCase> {};

TEST_P(DeviceListTest, ReadsUntilTheFirstGap) {
    const Configuration c = load("[ADAPTER_INFORMATION]\n" + GetParam().section);
    EXPECT_EQ(c.matchingDeviceIds, GetParam().expected);
}

std::string numberedIds(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        s += "MatchingDeviceId" + std::to_string(i) + "=id" + std::to_string(i) + "\n";
    }
    return s;
}

std::vector<std::string> ids(int count) {
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i) {
        v.push_back("id" + std::to_string(i));
    }
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeviceListTest,
    ::testing::Values(
        DeviceListCase{"InOrder", "MatchingDeviceId0=a\nMatchingDeviceId1=b\n", {"a", "b"}},
        DeviceListCase{"ZeroMissing", "MatchingDeviceId1=b\n", {}},
        DeviceListCase{"Gap", "MatchingDeviceId0=a\nMatchingDeviceId2=c\n", {"a"}},
        DeviceListCase{
            "EmptyEnds", "MatchingDeviceId0=a\nMatchingDeviceId1=\nMatchingDeviceId2=c\n", {"a"}},
        DeviceListCase{"NoLeadingZeros", "MatchingDeviceId0=a\nMatchingDeviceId01=b\n", {"a"}},
        DeviceListCase{"AtMostTwenty", numberedIds(25), ids(20)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProductConfiguration, TurnsOnWhatTheAdapterOffers) {
    CodePage ansi{CodePage::kDefaultName};
    PrivateProfile profile{ansi};
    const Configuration c =
        loadConfiguration(profile, std::filesystem::path(RIZORIVU_PRODUCT_DIR) / "rizorivu.INI");
    EXPECT_EQ(c.enableAccessPoint, 1);
    EXPECT_EQ(c.wpaMode, 1);
    EXPECT_EQ(c.enableWep256, 1);
    ASSERT_EQ(c.matchingDeviceIds.size(), 1u);
    EXPECT_EQ(c.matchingDeviceIds[0], "USB\\VID_F540&PID_0540");
}

}  // namespace
}  // namespace rizorivu
