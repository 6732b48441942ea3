#include "platform/ApplicationPaths.h"

#include <gtest/gtest.h>

namespace rizorivu {
namespace {

struct PathCase {
    const char* module;
    const char* programDir;
    const char* pathStem;
    const char* applicationName;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.module;
}

class ApplicationPathsTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(ApplicationPathsTest, DerivesFolderStemAndName) {
    const PathCase& c = GetParam();
    const ApplicationPaths p = ApplicationPaths::fromModulePath(c.module);
    EXPECT_EQ(p.modulePath, c.module);
    EXPECT_EQ(p.programDir, c.programDir);
    EXPECT_EQ(p.pathStem, c.pathStem);
    EXPECT_EQ(p.applicationName, c.applicationName);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplicationPathsTest,
    ::testing::Values(PathCase{"/usr/lib/rizorivu/rizorivu", "/usr/lib/rizorivu/",
                               "/usr/lib/rizorivu/rizorivu.", "rizorivu"},
                      PathCase{"/opt/x/RIZorivu.exe", "/opt/x/", "/opt/x/RIZorivu.", "RIZorivu"},
                      // A dot in a folder name is not an extension.
                      PathCase{"/home/u/.local/bin/rizorivu", "/home/u/.local/bin/",
                               "/home/u/.local/bin/rizorivu.", "rizorivu"},
                      PathCase{"/a/b.c/tool.v2.bin", "/a/b.c/", "/a/b.c/tool.v2.", "tool.v2"},
                      PathCase{"/a/.hidden", "/a/", "/a/.hidden.", ".hidden"}));

TEST(ApplicationPaths, ReadsTheRunningExecutable) {
    const auto path = readModulePath();
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(ApplicationPaths::fromModulePath(*path).applicationName, "rizorivu_tests");
}

}  // namespace
}  // namespace rizorivu
