// Where the world comes from: the built-in text, a file named by the environment, and edits
// of that file while the library runs.

#include <gtest/gtest.h>

#include "sim/SimulatedAdapterFactory.h"
#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

using testing::SimTestBed;

int countLines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class SimFactoryTest : public ::testing::Test {
protected:
    Result<std::unique_ptr<AdapterLibrary>> make(const FixedEnvironment& env) {
        return makeSimulatedAdapterLibrary(env, clock, registry, diagnostics);
    }

    rizorivu::testing::TempDir dir;
    VirtualClock clock;
    std::ostringstream diagnostics;
    RegistryStore registry{HiveLocations::inDirectory(dir.path()), diagnostics};
};

TEST_F(SimFactoryTest, BuiltInWorldWithoutAWorldFile) {
    for (const FixedEnvironment& env :
         {FixedEnvironment{}, FixedEnvironment{{"RIZORIVU_WORLD", ""}}}) {
        auto made = make(env);
        ASSERT_TRUE(made.ok());
        AdapterLibrary& lib = *made.value();
        AdapterListEntry entries[4];
        ASSERT_EQ(lib.CreateAllNICAdapterList(entries, 4), 2);
        EXPECT_EQ(fieldText(entries[0].description), "Nimbo K-540 Wireless USB Adapter");
        AdapterRecord record;
        copyField(record.name, fieldText(entries[0].name));
        EXPECT_NE(lib.QvOpenAdapter(&record), 0);
    }
    EXPECT_EQ(registry.readString(Hive::LocalMachine,
                                  "SYSTEM\\CurrentControlSet\\Control\\Class\\"
                                  "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007",
                                  "MatchingDeviceId"),
              "USB\\VID_F540&PID_0540");
}

TEST_F(SimFactoryTest, WorldFileFromTheEnvironment) {
    const auto file = dir.write("mine.ini", testing::testWorld());
    auto made = make(FixedEnvironment{{"RIZORIVU_WORLD", file.string()}});
    ASSERT_TRUE(made.ok());
    AdapterListEntry entries[4];
    ASSERT_EQ(made.value()->CreateAllNICAdapterList(entries, 4), 1);
    EXPECT_EQ(fieldText(entries[0].name), "\\DEVICE\\SIM0");
}

TEST_F(SimFactoryTest, MalformedWorldFileIsAnErrorNamingFileAndLine) {
    const auto file = dir.write("bad.ini", "[Machine]\nSeed=1\nOsCode=1000\n");
    auto made = make(FixedEnvironment{{"RIZORIVU_WORLD", file.string()}});
    ASSERT_FALSE(made.ok());
    EXPECT_EQ(made.error().rfind(file.string() + ":3: ", 0), 0u) << made.error();
}

TEST_F(SimFactoryTest, MissingWorldFileIsAnErrorNamingTheFile) {
    const auto file = dir.path() / "absent.ini";
    auto made = make(FixedEnvironment{{"RIZORIVU_WORLD", file.string()}});
    ASSERT_FALSE(made.ok());
    EXPECT_NE(made.error().find(file.string()), std::string::npos);
}

TEST(SimWorldEditTest, BrokenEditKeepsTheLastGoodWorldAndSaysSoOnce) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    std::string broken = testing::testWorld() + "[Network.Bad]\nSSID=Bad\n";
    bed.editWorld(broken);
    EXPECT_NE(bed.lib().QueryWL_DriverVersion(&bed.record), -1);
    for (int i = 0; i < 5; ++i) {
        bed.clock.advance(1000);
        bed.lib().QueryWL_ConnectState(&bed.record);
    }
    const std::string first = bed.diagnostics.str();
    EXPECT_EQ(countLines(first), 1) << first;
    EXPECT_NE(first.find(bed.worldFile.string() + ":" + std::to_string(countLines(broken) - 1)),
              std::string::npos)
        << first;
    EXPECT_NE(first.find("last good world"), std::string::npos);

    // The last good world still works.
    bed.configure("Open", 1, 0, 1);
    bed.settle();
    EXPECT_EQ(bed.connectState(), 0);

    // Another broken edit is reported once more; a good one is adopted silently.
    bed.editWorld(broken + "[Nope]\n");
    bed.lib().QueryWL_ConnectState(&bed.record);
    bed.clock.advance(1000);
    bed.lib().QueryWL_ConnectState(&bed.record);
    EXPECT_EQ(countLines(bed.diagnostics.str()), 2);

    std::string fixed = testing::testWorld();
    fixed.replace(fixed.find("SSID=Open"), 9, "SSID=Shut");
    bed.editWorld(fixed);
    EXPECT_EQ(bed.connectState(), 1) << "the fixed world no longer has the network";
    EXPECT_EQ(countLines(bed.diagnostics.str()), 2);
}

TEST(SimWorldEditTest, LooksAtTheFileOnlyEveryHalfSecond) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    bed.dir.write("world.ini",
                  testing::testWorld() +
                      std::string("[Adapter.New]\nName=N\nDescription=New\nClassInstance=0009\n"
                                  "DeviceId=X\nMac=02-00-00-00-00-09\n"));
    AdapterListEntry entries[4];
    bed.clock.advance(WorldSource::kCheckIntervalMs - 1);
    EXPECT_EQ(bed.lib().CreateAllNICAdapterList(entries, 4), 1);
    bed.clock.advance(1);
    EXPECT_EQ(bed.lib().CreateAllNICAdapterList(entries, 4), 2);
}

TEST(SimWorldEditTest, AVanishedFileIsReportedOnceAndTheWorldStays) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    std::filesystem::remove(bed.worldFile);
    for (int i = 0; i < 4; ++i) {
        bed.clock.advance(WorldSource::kCheckIntervalMs);
        EXPECT_NE(bed.lib().QueryWL_DriverVersion(&bed.record), -1);
    }
    EXPECT_EQ(countLines(bed.diagnostics.str()), 1) << bed.diagnostics.str();
}

}  // namespace
}  // namespace rizorivu::sim
