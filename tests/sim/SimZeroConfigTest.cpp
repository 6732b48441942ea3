// Zero Configuration, the private-OID switch and the operating system as the driver reports
// them.

#include <gtest/gtest.h>

#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

using testing::SimTestBed;

std::string worldWith(std::string_view machine, std::string_view adapterKeys) {
    return std::string(machine) + std::string(testing::kAdapterSection) + std::string(adapterKeys);
}

TEST(SimZeroConfigTest, StatusStartsAsTheWorldSaysAndFollowsTheUtility) {
    SimTestBed bed(worldWith("", "ZeroConfig=1\n"));
    ASSERT_TRUE(bed.open());
    EXPECT_EQ(bed.lib().QueryWL_CheckWZCStatus(&bed.record), 1);
    ASSERT_EQ(bed.lib().SetWL_WZCStatus(&bed.record, 0), 0);
    bed.clock.advance(5'000);
    EXPECT_EQ(bed.lib().QueryWL_CheckWZCStatus(&bed.record), 0) << "the world does not insist";
}

TEST(SimZeroConfigTest, AWorldEditHandsTheAdapterToZeroConfiguration) {
    SimTestBed bed(worldWith("", ""));
    ASSERT_TRUE(bed.open());
    ASSERT_EQ(bed.lib().QueryWL_CheckWZCStatus(&bed.record), 0);
    bed.editWorld(worldWith("", "ZeroConfig=1\n"));
    EXPECT_EQ(bed.lib().QueryWL_CheckWZCStatus(&bed.record), 1);
    // The utility takes it back; an unchanged world does not take it again.
    ASSERT_EQ(bed.lib().SetWL_WZCStatus(&bed.record, 0), 0);
    bed.editWorld(worldWith("; touched\n", "ZeroConfig=1\n"));
    EXPECT_EQ(bed.lib().QueryWL_CheckWZCStatus(&bed.record), 0);
    bed.editWorld(worldWith("", "ZeroConfig=2\n"));
    EXPECT_EQ(bed.lib().QueryWL_CheckWZCStatus(&bed.record), 2);
    EXPECT_NE(bed.lib().SetWL_WZCStatus(&bed.record, 2), 0);
}

TEST(SimZeroConfigTest, ServiceStartsAndStops) {
    SimTestBed bed(worldWith("[Machine]\nZeroConfigService=stopped\n", ""));
    EXPECT_FALSE(bed.lib().zeroConfigServiceRunning());
    EXPECT_EQ(bed.lib().QVStartWZCService(), 0);
    EXPECT_TRUE(bed.lib().zeroConfigServiceRunning());
    EXPECT_EQ(bed.lib().QVStopWZCService(), 0);
    EXPECT_FALSE(bed.lib().zeroConfigServiceRunning());
    bed.editWorld(worldWith("[Machine]\nZeroConfigService=running\n", ""));
    bed.lib().CheckOSWinNT();
    EXPECT_TRUE(bed.lib().zeroConfigServiceRunning()) << "a world edit starts it";
}

struct OsCase {
    const char* name;
    std::string machine;
    int nt;
    int windows95;
    int code;
};

void PrintTo(const OsCase& c, std::ostream* os) {
    *os << c.name;
}

class SimOperatingSystemTest : public ::testing::TestWithParam<OsCase> {};

TEST_P(SimOperatingSystemTest, AnswersAsTheWorldSays) {
    SimTestBed bed(GetParam().machine + std::string(testing::kAdapterSection));
    EXPECT_EQ(bed.lib().CheckOSWinNT() != 0, GetParam().nt != 0);
    EXPECT_EQ(bed.lib().QueryWL_IsWindows95() != 0, GetParam().windows95 != 0);
    EXPECT_EQ(bed.lib().QV_GetOSVersion(), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimOperatingSystemTest,
    ::testing::Values(OsCase{"Default", "", 1, 0, 6},
                      OsCase{"Code7", "[Machine]\nOsCode=7\n", 1, 0, 7},
                      OsCase{"Windows9x", "[Machine]\nOsFamily=9x\nOsCode=2\n", 0, 1, 2}),
    [](const ::testing::TestParamInfo<OsCase>& info) { return info.param.name; });

}  // namespace
}  // namespace rizorivu::sim
