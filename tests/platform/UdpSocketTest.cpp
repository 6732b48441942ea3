#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/UdpSocket.h"

namespace rizorivu {
namespace {

TEST(UdpSocketTest, ResolvesOnlyNumericAddressesAndLocalhost) {
    struct Case {
        const char* host;
        std::uint16_t port;
        bool ok;
    };
    for (const Case c :
         {Case{"127.0.0.1", 1812, true}, Case{"localhost", 1, true}, Case{"10.1.2.3", 65535, true},
          Case{"radius.example", 1812, false}, Case{"127.0.0.1", 0, false},
          Case{"256.0.0.1", 1812, false}, Case{"", 1812, false}}) {
        EXPECT_EQ(UdpSocket::resolve(c.host, c.port).has_value(), c.ok) << c.host;
    }
    EXPECT_EQ(UdpSocket::resolve("localhost", 9)->address, 0x7F000001u);
}

TEST(UdpSocketTest, ConnectedClientAndBoundServerTalkWithoutBlocking) {
    UdpSocket server;
    ASSERT_TRUE(server.bindLocal());
    ASSERT_NE(server.localPort(), 0);
    EXPECT_FALSE(server.receive()) << "nothing queued answers at once";

    UdpSocket client;
    ASSERT_TRUE(client.connect(*UdpSocket::resolve("127.0.0.1", server.localPort())));
    const std::vector<std::uint8_t> hello{1, 2, 3};
    ASSERT_TRUE(client.send(hello));
    std::optional<UdpSocket::Datagram> got;
    for (int i = 0; i < 200 && !got; ++i) {
        got = server.receive();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(got);
    EXPECT_EQ(got->bytes, hello);
    ASSERT_TRUE(server.sendTo(got->from, std::vector<std::uint8_t>{9}));
    std::optional<UdpSocket::Datagram> back;
    for (int i = 0; i < 200 && !back; ++i) {
        back = client.receive();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bytes, std::vector<std::uint8_t>{9});

    UdpSocket moved = std::move(client);
    EXPECT_TRUE(moved.isOpen());
    EXPECT_FALSE(client.isOpen());  // NOLINT(bugprone-use-after-move): moved-from is closed
    EXPECT_FALSE(client.send(hello));
}

}  // namespace
}  // namespace rizorivu
