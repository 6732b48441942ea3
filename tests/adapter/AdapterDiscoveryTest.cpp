#include "adapter/AdapterDiscovery.h"

#include <gtest/gtest.h>

#include "tests/support/AdapterTestBed.h"

namespace rizorivu {
namespace {

using testing::AdapterTestBed;

constexpr const char* kProductId = "USB\\VID_F540&PID_0540";

std::string adapterSection(const std::string& id, const std::string& extra,
                           const std::string& deviceId = "usb\\vid_f540&pid_0540") {
    return "[Adapter." + id + "]\nName=\\DEVICE\\" + id + "\nDescription=Adapter " + id +
           "\nClassInstance=00" + (id.size() < 2 ? "0" + id : id.substr(0, 2)) +
           "\nDeviceId=" + deviceId + "\nMac=02-00-00-00-00-" +
           (id.size() < 2 ? "0" + id : id.substr(0, 2)) + "\n" + extra;
}

class AdapterDiscoveryTest : public ::testing::Test {
protected:
    AdapterDiscovery discovery(AdapterTestBed& bed, std::vector<std::string> ids = {kProductId}) {
        return AdapterDiscovery(*bed.library, bed.adapter, bed.registry, bed.ansi, bed.clock,
                                std::move(ids));
    }
};

TEST_F(AdapterDiscoveryTest, OpensTheFirstMatchingAdapterWhateverTheLetterCase) {
    AdapterTestBed bed("[Machine]\n" +
                       adapterSection("1", "Kind=ethernet\n", "PCI\\VEN_10EC&DEV_8139") +
                       adapterSection("2", ""));
    auto d = discovery(bed);
    EXPECT_TRUE(d.discoverAdapters());
    EXPECT_EQ(d.rows(), (std::vector<std::string>{"Adapter 2"}));
    EXPECT_EQ(d.selectedRow(), 0);
    EXPECT_TRUE(d.adapterOpen());
    EXPECT_NE(bed.adapter.handle, AdapterRecord::kNoAdapter);
    EXPECT_EQ(fieldText(bed.adapter.name), "\\DEVICE\\2");
    EXPECT_EQ(fieldText(bed.adapter.classInstance), "0002");
    EXPECT_EQ(d.adapterClassKey(),
              "SYSTEM\\CurrentControlSet\\Control\\Class\\"
              "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0002");
    EXPECT_NE(bed.library->QueryWL_DriverVersion(&bed.adapter), -1);
}

TEST_F(AdapterDiscoveryTest, UnopenableAdapterIsSkipped) {
    AdapterTestBed bed("[Machine]\n" + adapterSection("1", "Openable=0\n") +
                       adapterSection("2", ""));
    auto d = discovery(bed);
    EXPECT_TRUE(d.discoverAdapters());
    EXPECT_EQ(d.rows(), (std::vector<std::string>{"Adapter 2"}));
}

TEST_F(AdapterDiscoveryTest, EqualConfiguredIdentifiersListTheAdapterTwice) {
    AdapterTestBed bed("[Machine]\n" + adapterSection("1", ""));
    auto d = discovery(bed, {kProductId, "usb\\VID_F540&pid_0540"});
    EXPECT_TRUE(d.discoverAdapters());
    EXPECT_EQ(d.rows(), (std::vector<std::string>{"Adapter 1", "Adapter 1"}));
}

TEST_F(AdapterDiscoveryTest, NothingConfiguredOrNothingPresentOpensNothing) {
    AdapterTestBed bed("[Machine]\n" + adapterSection("1", ""));
    auto none = discovery(bed, {});
    EXPECT_FALSE(none.discoverAdapters());
    EXPECT_TRUE(none.rows().empty());
    EXPECT_FALSE(none.adapterOpen());

    AdapterTestBed absent("[Machine]\n" + adapterSection("1", "Present=0\n"));
    auto d = discovery(absent);
    EXPECT_FALSE(d.discoverAdapters());
    EXPECT_EQ(absent.adapter.handle, AdapterRecord::kNoAdapter);
    EXPECT_EQ(d.tickWhileClosed(), AdapterDiscovery::TickResult::NoAdapter);
}

TEST_F(AdapterDiscoveryTest, TheTableHoldsTenAdapters) {
    std::string world = "[Machine]\n";
    for (int i = 10; i < 22; ++i) {
        world += adapterSection(std::to_string(i), "");
    }
    AdapterTestBed bed(world);
    auto d = discovery(bed);
    EXPECT_TRUE(d.discoverAdapters());
    ASSERT_EQ(d.rows().size(), 10u);
    EXPECT_EQ(d.rows().front(), "Adapter 10");
    EXPECT_EQ(d.rows().back(), "Adapter 19");
}

TEST_F(AdapterDiscoveryTest, ChoosingAnotherRowOpensThatAdapter) {
    AdapterTestBed bed("[Machine]\n" + adapterSection("1", "") + adapterSection("2", ""));
    auto d = discovery(bed);
    ASSERT_TRUE(d.discoverAdapters());
    d.selectRow(1);
    EXPECT_TRUE(d.openSelectedAdapter());
    EXPECT_EQ(fieldText(bed.adapter.name), "\\DEVICE\\2");
    EXPECT_EQ(fieldText(bed.adapter.description), "Adapter 2");
    d.selectRow(-1);
    EXPECT_FALSE(d.openSelectedAdapter());
}

TEST_F(AdapterDiscoveryTest, WindowsNineXUsesItsOwnClassKey) {
    AdapterTestBed bed("[Machine]\nOsFamily=9x\n" + adapterSection("1", ""));
    auto d = discovery(bed);
    EXPECT_TRUE(d.discoverAdapters());
    EXPECT_EQ(d.adapterClassKey(), "System\\CurrentControlSet\\Services\\Class\\Net\\0001");
}

TEST_F(AdapterDiscoveryTest, CardBusAdapterIsOpenedAfterTwentyTicks) {
    const std::string pcmcia = "PCMCIA\\NIMBO-K540";
    AdapterTestBed bed("[Machine]\n" + adapterSection("1", "PnPWorkaround=1\n", pcmcia));
    auto d = discovery(bed, {pcmcia});
    EXPECT_FALSE(d.discoverAdapters());
    EXPECT_EQ(d.deferState(), AdapterDiscovery::kDeferring);
    EXPECT_TRUE(d.rows().empty());
    for (int tick = 1; tick < 20; ++tick) {
        ASSERT_EQ(d.tickWhileClosed(), AdapterDiscovery::TickResult::Deferring) << tick;
    }
    EXPECT_EQ(d.tickWhileClosed(), AdapterDiscovery::TickResult::Reopened);
    EXPECT_EQ(d.deferState(), AdapterDiscovery::kNone);
    EXPECT_EQ(d.rows().size(), 1u);
}

TEST_F(AdapterDiscoveryTest, UnpluggedAdapterIsFoundAgainWhenItReturns) {
    const std::string plugged = "[Machine]\n" + adapterSection("1", "");
    AdapterTestBed bed(plugged);
    auto d = discovery(bed);
    ASSERT_TRUE(d.discoverAdapters());

    bed.editWorld("[Machine]\n" + adapterSection("1", "Present=0\n"));
    EXPECT_EQ(bed.library->QueryWL_DriverVersion(&bed.adapter), -1);
    d.markClosed();
    EXPECT_EQ(d.tickWhileClosed(), AdapterDiscovery::TickResult::NoAdapter);

    bed.editWorld(plugged);
    EXPECT_EQ(d.tickWhileClosed(), AdapterDiscovery::TickResult::Reopened);
    EXPECT_NE(bed.library->QueryWL_DriverVersion(&bed.adapter), -1);
}

}  // namespace
}  // namespace rizorivu
