// The machine's adapters: listing, opening by name, plugging and unplugging through world
// edits, and the class keys the driver installer writes.

#include <gtest/gtest.h>

#include "sim/ClassKeyInstaller.h"
#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

using testing::SimTestBed;

const std::string kEthernet =
    "[Adapter.Eth]\nName=\\DEVICE\\ETH0\nDescription=Wired\nClassInstance=0001\n"
    "DeviceId=PCI\\VEN_1A2B&DEV_0E31\nKind=ethernet\nMac=02-E0-00-00-00-01\n";
const std::string kLocked =
    "[Adapter.Locked]\nName=\\DEVICE\\LOCKED\nDescription=Busy\nClassInstance=0002\n"
    "DeviceId=USB\\VID_F540&PID_0540\nOpenable=0\nMac=02-E0-00-00-00-02\n";
const std::string kAbsent =
    "[Adapter.Absent]\nName=\\DEVICE\\ABSENT\nDescription=Not plugged\nClassInstance=0004\n"
    "DeviceId=USB\\VID_F540&PID_0540\nPresent=0\nMac=02-E0-00-00-00-04\n";

std::string worldWith(const std::string& extra, std::string_view adapterKeys = "") {
    return std::string(testing::kMachineSection) + std::string(testing::kAdapterSection) +
           std::string(adapterKeys) + extra + std::string(testing::kNetworkSections);
}

std::vector<AdapterListEntry> list(SimulatedAdapterLibrary& lib, int capacity = 10) {
    std::vector<AdapterListEntry> entries(static_cast<std::size_t>(capacity));
    const int n = lib.CreateAllNICAdapterList(entries.data(), capacity);
    entries.resize(static_cast<std::size_t>(std::max(n, 0)));
    return entries;
}

TEST(SimAdapterListTest, ListsPresentAdaptersOfEveryKind) {
    SimTestBed bed(worldWith(kEthernet + kLocked + kAbsent));
    const auto entries = list(bed.lib());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(fieldText(entries[0].name), "\\DEVICE\\SIM0");
    EXPECT_EQ(fieldText(entries[0].description), "Simulated test adapter");
    EXPECT_EQ(fieldText(entries[0].classInstance), "0003");
    EXPECT_EQ(fieldText(entries[1].description), "Wired");
    EXPECT_EQ(fieldText(entries[2].name), "\\DEVICE\\LOCKED");
    EXPECT_EQ(list(bed.lib(), 1).size(), 1u);
    EXPECT_EQ(bed.lib().CreateAllNICAdapterList(nullptr, 10), 0);
}

TEST(SimAdapterListTest, OpensOnlyPresentOpenableWirelessAdaptersByName) {
    SimTestBed bed(worldWith(kEthernet + kLocked + kAbsent));
    EXPECT_TRUE(bed.open("\\device\\sim0")) << "names compare without regard to case";
    EXPECT_NE(bed.record.handle, AdapterRecord::kNoAdapter);
    for (const char* name : {"\\DEVICE\\ETH0", "\\DEVICE\\LOCKED", "\\DEVICE\\ABSENT", "nothing"}) {
        AdapterRecord other;
        copyField(other.name, name);
        other.handle = 5;
        EXPECT_EQ(bed.lib().QvOpenAdapter(&other), 0) << name;
        EXPECT_EQ(other.handle, AdapterRecord::kNoAdapter) << name;
    }
    EXPECT_EQ(bed.lib().QvOpenAdapter(nullptr), 0);
}

TEST(SimAdapterListTest, ReportsIdentityOfTheOpenAdapter) {
    SimTestBed bed(worldWith("", "Usb=1.1\nDriverVersion=1.2\nDriverDate=2004-07-15\n"));
    ASSERT_TRUE(bed.open());
    // Major 1, minor 2, year field 4, month 7, day 0x15: shown as 1.2.0715.2004.
    EXPECT_EQ(bed.lib().QueryWL_DriverVersion(&bed.record), 0x01024715);
    EXPECT_EQ(bed.lib().QueryWL_USBType(&bed.record), 0);
    std::array<std::uint8_t, 6> mac{};
    EXPECT_EQ(bed.lib().GetNICAdapterMAC(&bed.record, mac), 0);
    EXPECT_EQ(mac, (std::array<std::uint8_t, 6>{2, 0, 0, 0, 0, 1}));
}

TEST(SimAdapterListTest, ClosedRecordGetsNoAnswers) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    const std::int32_t handle = bed.record.handle;
    // Opening again keeps the handle and the settings.
    bed.lib().SetWL_FragmentationThreshold(&bed.record, 700);
    ASSERT_TRUE(bed.open());
    EXPECT_EQ(bed.record.handle, handle);
    EXPECT_EQ(bed.lib().QueryWL_FragmentationThreshold(&bed.record), 700);

    EXPECT_EQ(bed.lib().QvCloseAdapter(&bed.record), 0);
    EXPECT_EQ(bed.record.handle, AdapterRecord::kNoAdapter);
    EXPECT_EQ(bed.lib().QueryWL_DriverVersion(&bed.record), -1);
    EXPECT_EQ(bed.lib().QvCloseAdapter(&bed.record), -1);

    AdapterRecord stale = bed.record;
    stale.handle = handle;
    EXPECT_EQ(bed.lib().QueryWL_DriverVersion(&stale), -1) << "a closed handle stays closed";
    ASSERT_TRUE(bed.open());
    EXPECT_NE(bed.record.handle, handle);
    EXPECT_EQ(bed.lib().QueryWL_FragmentationThreshold(&bed.record), 700)
        << "closing does not reset the adapter";
}

TEST(SimAdapterListTest, UnpluggedAdapterAnswersNothingUntilReopened) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    const std::int32_t handle = bed.record.handle;
    bed.configure("Open", 1, 0, 1);
    bed.lib().SetWL_RegionAndSupportChannel(&bed.record, 0x40);
    bed.settle();
    ASSERT_EQ(bed.connectState(), 0);

    bed.editWorld(worldWith("", "Present=0\n"));
    EXPECT_EQ(bed.lib().QueryWL_DriverVersion(&bed.record), -1);
    EXPECT_EQ(bed.connectState(), -1);
    EXPECT_TRUE(list(bed.lib()).empty());
    EXPECT_FALSE(bed.open());

    bed.editWorld(worldWith(""));
    EXPECT_EQ(list(bed.lib()).size(), 1u);
    AdapterRecord stale = bed.record;
    stale.handle = handle;
    EXPECT_EQ(bed.lib().QueryWL_DriverVersion(&stale), -1) << "until it is opened again";
    ASSERT_TRUE(bed.open());
    EXPECT_NE(bed.lib().QueryWL_DriverVersion(&bed.record), -1);
    // Plugged in again with factory settings: no SSID, the world's region.
    EXPECT_EQ(bed.lib().QueryWL_OperationRegionCode(&bed.record), 0x10);
    std::array<std::uint8_t, 32> ssid{};
    EXPECT_EQ(bed.lib().QueryWL_SSID(&bed.record, ssid), 0);
    EXPECT_EQ(bed.connectState(), 1) << "nothing is associated at plug-in";
}

TEST(SimAdapterListTest, AnAdapterRemovedFromTheWorldIsGoneToo) {
    SimTestBed bed(worldWith(kEthernet));
    ASSERT_TRUE(bed.open());
    std::string world = worldWith(kEthernet);
    world.erase(world.find("[Adapter.Sim]"), testing::kAdapterSection.size());
    bed.editWorld(world);
    EXPECT_EQ(bed.lib().QueryWL_DriverVersion(&bed.record), -1);
    EXPECT_EQ(list(bed.lib()).size(), 1u);
}

TEST(SimAdapterListTest, WorldEditKeepsAnAdapterThatStaysPlugged) {
    SimTestBed bed;
    ASSERT_TRUE(bed.open());
    bed.lib().SetWL_FragmentationThreshold(&bed.record, 900);
    bed.editWorld(worldWith(kEthernet, "Usb=1.1\n"));
    EXPECT_EQ(bed.lib().QueryWL_FragmentationThreshold(&bed.record), 900);
    EXPECT_EQ(bed.lib().QueryWL_USBType(&bed.record), 0) << "the edit itself is followed";
    EXPECT_EQ(list(bed.lib()).size(), 2u);
}

TEST(SimAdapterListTest, PnPWorkaroundIsAskedForWhileSuchAnAdapterIsPresent) {
    SimTestBed bed(worldWith("", "PnPWorkaround=1\n"));
    EXPECT_NE(bed.lib().Query_FixWindisPnPBug(), 0);
    bed.editWorld(worldWith("", "PnPWorkaround=1\nPresent=0\n"));
    EXPECT_EQ(bed.lib().Query_FixWindisPnPBug(), 0);
}

struct ClassKeyCase {
    const char* name;
    std::string machine;
    std::string path;
};

void PrintTo(const ClassKeyCase& c, std::ostream* os) {
    *os << c.name;
}

class SimClassKeyTest : public ::testing::TestWithParam<ClassKeyCase> {};

TEST_P(SimClassKeyTest, DriverInstallerWritesTheMachineKeys) {
    SimTestBed bed(GetParam().machine + std::string(testing::kAdapterSection) + kEthernet +
                   kAbsent);
    const std::string prefix = GetParam().path;
    EXPECT_EQ(bed.registry.readString(Hive::LocalMachine, prefix + "0003", "MatchingDeviceId"),
              "USB\\VID_F540&PID_0540");
    EXPECT_EQ(bed.registry.readString(Hive::LocalMachine, prefix + "0001", "MatchingDeviceId"),
              "PCI\\VEN_1A2B&DEV_0E31");
    EXPECT_EQ(bed.registry.readString(Hive::LocalMachine, prefix + "0004", "MatchingDeviceId"),
              "USB\\VID_F540&PID_0540")
        << "installed even while unplugged";
    EXPECT_EQ(bed.registry.readString(Hive::LocalMachine, prefix + "0003", "DriverDesc"),
              "Simulated test adapter");
    EXPECT_EQ(ClassKeyInstaller::classKeyPath(
                  GetParam().machine.empty() ? OsFamily::WindowsNt : OsFamily::Windows9x, "0003"),
              prefix + "0003");
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimClassKeyTest,
    ::testing::Values(ClassKeyCase{"Nt", "",
                                   "SYSTEM\\CurrentControlSet\\Control\\Class\\"
                                   "{4D36E972-E325-11CE-BFC1-08002BE10318}\\"},
                      ClassKeyCase{"Windows9x", "[Machine]\nOsFamily=9x\n",
                                   "System\\CurrentControlSet\\Services\\Class\\Net\\"}),
    [](const ::testing::TestParamInfo<ClassKeyCase>& info) { return info.param.name; });

TEST(SimAdapterListTest, AnEditedDeviceIdIsInstalledAgain) {
    SimTestBed bed;
    std::string world = testing::testWorld();
    world.replace(world.find("PID_0540"), 8, "PID_0541");
    bed.editWorld(world);
    bed.lib().CheckOSWinNT();
    EXPECT_EQ(bed.registry.readString(Hive::LocalMachine,
                                      ClassKeyInstaller::classKeyPath(OsFamily::WindowsNt, "0003"),
                                      "MatchingDeviceId"),
              "USB\\VID_F540&PID_0541");
}

}  // namespace
}  // namespace rizorivu::sim
