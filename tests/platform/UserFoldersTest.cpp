#include "platform/UserFolders.h"

#include <gtest/gtest.h>

namespace rizorivu {
namespace {

struct FoldersCase {
    const char* what;
    FixedEnvironment env;
    const char* store;
    const char* privateFolder;
};

TEST(UserFoldersTest, FollowsTheBaseDirectoryRules) {
    const FoldersCase cases[] = {
        {"data home set",
         {{"HOME", "/home/u"}, {"XDG_DATA_HOME", "/data"}},
         "/data/rizorivu/certificates",
         "/data/rizorivu/private"},
        {"relative data home ignored",
         {{"HOME", "/home/u"}, {"XDG_DATA_HOME", "rel"}},
         "/home/u/.local/share/rizorivu/certificates",
         "/home/u/.local/share/rizorivu/private"},
        {"runtime folder preferred for secrets",
         {{"HOME", "/home/u"}, {"XDG_RUNTIME_DIR", "/run/user/7"}},
         "/home/u/.local/share/rizorivu/certificates",
         "/run/user/7/rizorivu"},
        {"relative runtime folder ignored",
         {{"HOME", "/home/u"}, {"XDG_RUNTIME_DIR", "run"}, {"XDG_DATA_HOME", ""}},
         "/home/u/.local/share/rizorivu/certificates",
         "/home/u/.local/share/rizorivu/private"},
    };
    for (const FoldersCase& c : cases) {
        const UserFolders folders = UserFolders::fromEnvironment(c.env);
        EXPECT_EQ(folders.certificateStore(), c.store) << c.what;
        EXPECT_EQ(folders.privateFolder(), c.privateFolder) << c.what;
    }
}

TEST(UserFoldersTest, WithoutHomeThePasswordDatabaseAnswers) {
    const UserFolders folders = UserFolders::fromEnvironment(FixedEnvironment{});
    EXPECT_TRUE(folders.dataHome.is_absolute()) << folders.dataHome;
}

}  // namespace
}  // namespace rizorivu
