// Access-point mode: stations that come and go with the world file, and stations that look on
// one channel only.

#include <gtest/gtest.h>

#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

using testing::mac;
using testing::SimTestBed;

using Address = std::vector<std::uint8_t>;
const Address kA = mac({2, 0xC0, 0, 0, 0, 0x0A});
const Address kB = mac({2, 0xC0, 0, 0, 0, 0x0B});

std::string worldWith(std::string_view clients) {
    return std::string(testing::kMachineSection) + std::string(testing::kAdapterSection) +
           std::string(clients);
}

class SimAccessPointClientsTest : public ::testing::Test {
protected:
    explicit SimAccessPointClientsTest(std::string_view clients = "") : bed(worldWith(clients)) {}

    void startAccessPoint(int channel) {
        ASSERT_TRUE(bed.open());
        ASSERT_EQ(bed.lib().SetWL_OperationMode_STA_AP(&bed.record, 1), 0);
        ASSERT_EQ(bed.lib().SetWL_Channel(&bed.record, channel), 0);
        bed.setSsid("Lab AP");
        bed.settle();
    }

    std::vector<Address> stations() {
        std::vector<std::uint8_t> buffer(112, 0);
        EXPECT_EQ(bed.lib().WL_RetrieveStationList(&bed.record, buffer.data(), 112), 0);
        std::vector<Address> out;
        for (std::size_t slot = 0; slot < 16; ++slot) {
            if (buffer[slot * 7] != 0) {
                out.emplace_back(buffer.begin() + static_cast<std::ptrdiff_t>(slot * 7 + 1),
                                 buffer.begin() + static_cast<std::ptrdiff_t>(slot * 7 + 7));
            }
        }
        return out;
    }

    SimTestBed bed;
};

TEST_F(SimAccessPointClientsTest, StationsComeAndGoWithTheWorldFile) {
    const std::string both =
        worldWith("[Client.A]\nMac=02-C0-00-00-00-0A\n[Client.B]\nMac=02-C0-00-00-00-0B\n");
    bed.editWorld(both);
    startAccessPoint(6);
    EXPECT_EQ(stations(), (std::vector<Address>{kA, kB}));

    bed.editWorld(worldWith(
        "[Client.A]\nMac=02-C0-00-00-00-0A\nPresent=0\n[Client.B]\nMac=02-C0-00-00-00-0B\n"));
    EXPECT_EQ(stations(), (std::vector<Address>{kB})) << "A went away";

    bed.editWorld(worldWith("[Client.A]\nMac=02-C0-00-00-00-0A\n"));
    EXPECT_EQ(stations(), (std::vector<Address>{kA})) << "A is back, B's section is gone";
}

TEST_F(SimAccessPointClientsTest, AStationOnOneChannelSeesTheAccessPointOnlyThere) {
    bed.editWorld(worldWith(
        "[Client.A]\nMac=02-C0-00-00-00-0A\nChannel=6\n[Client.B]\nMac=02-C0-00-00-00-0B\n"));
    startAccessPoint(6);
    EXPECT_EQ(stations(), (std::vector<Address>{kA, kB}));
    ASSERT_EQ(bed.lib().SetWL_Channel(&bed.record, 11), 0);
    bed.settle();
    EXPECT_EQ(stations(), (std::vector<Address>{kB}));
    ASSERT_EQ(bed.lib().SetWL_Channel(&bed.record, 6), 0);
    EXPECT_TRUE(stations().empty()) << "everybody rejoins after the restart";
    bed.settle();
    EXPECT_EQ(stations(), (std::vector<Address>{kA, kB}));
}

}  // namespace
}  // namespace rizorivu::sim
