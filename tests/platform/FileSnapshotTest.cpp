#include "platform/FileSnapshot.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cerrno>
#include <string>

#include "tests/support/TempDir.h"

namespace rizorivu {
namespace {

constexpr long long kMs = 1'000'000;

TEST(FileSnapshotTest, ReadsTheBytesWithTheIdentityTheyHad) {
    const testing::TempDir dir;
    const auto file = dir.write("a.ini", "[s]\nk=v\n");
    const auto snapshot = FileSnapshot::read(file, 1024);
    ASSERT_TRUE(snapshot.has_value());
    EXPECT_TRUE(snapshot->regular());
    EXPECT_EQ(snapshot->bytes(), "[s]\nk=v\n");
    EXPECT_EQ(FileIdentity::of(file), snapshot->identity());
    EXPECT_EQ(snapshot->identity().size, 8u);

    // A file replaced by another of the same length still shows a new identity.
    const auto replacement = dir.write("b.ini", "[t]\nk=w\n");
    ASSERT_EQ(::rename(replacement.c_str(), file.c_str()), 0);
    EXPECT_NE(FileIdentity::of(file), snapshot->identity());
}

TEST(FileSnapshotTest, StopsAtTheLimit) {
    const testing::TempDir dir;
    const auto file = dir.write("big.ini", std::string(200'000, 'x'));
    const auto snapshot = FileSnapshot::read(file, 70'000);
    ASSERT_TRUE(snapshot.has_value());
    EXPECT_EQ(snapshot->bytes().size(), 70'000u);
    EXPECT_EQ(snapshot->identity().size, 200'000u);
}

TEST(FileSnapshotTest, MissingFileAndFolder) {
    const testing::TempDir dir;
    errno = 0;
    EXPECT_FALSE(FileSnapshot::read(dir / "missing.ini", 1024).has_value());
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(FileIdentity::of(dir / "missing.ini").has_value());

    const auto folder = FileSnapshot::read(dir.path(), 1024);
    ASSERT_TRUE(folder.has_value());
    EXPECT_FALSE(folder->regular());
    EXPECT_TRUE(folder->bytes().empty());
}

TEST(FileIdentityTest, SettlesOnceAChangeIsOlderThanAClockTick) {
    struct Case {
        const char* label;
        long long modifiedNs;
        long long changedNs;
        long long readStartNs;
        bool settled;
    };
    // Fine timestamps (with sub-10 ms digits) settle after 50 ms; whole hundredths of a
    // second or coarser need 2 s. The later of the two times counts.
    const long long t = 1'700'000'000'000'000'000LL + 3;
    const long long coarse = 1'700'000'000'000'000'000LL;
    const Case cases[] = {
        {"fine, just changed", t, t, t + 10 * kMs, false},
        {"fine, 49 ms", t, t, t + 49 * kMs, false},
        {"fine, 50 ms", t, t, t + 50 * kMs, true},
        {"fine, change time later", t, t + 40 * kMs, t + 60 * kMs, false},
        {"coarse, 1 s", coarse, coarse, coarse + 1000 * kMs, false},
        {"coarse, 2 s", coarse, coarse, coarse + 2000 * kMs, true},
        {"one fine time makes it fine", coarse, t, t + 50 * kMs, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FileIdentity id;
        id.modifiedNs = c.modifiedNs;
        id.changedNs = c.changedNs;
        EXPECT_EQ(id.settledAt(c.readStartNs), c.settled);
    }
}

}  // namespace
}  // namespace rizorivu
