#include "qt/SystemDisplayProbe.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "tests/support/TempDir.h"

namespace rizorivu::qt {
namespace {

TEST(SystemDisplayProbeTest, WaylandSocketAnswersOnlyWhileSomeoneListens) {
    testing::TempDir dir;
    const std::filesystem::path socketPath = dir.path() / "wayland-test";
    SystemDisplayProbe probe;
    EXPECT_FALSE(probe.waylandReachable(socketPath));
    EXPECT_FALSE(probe.waylandReachable(std::filesystem::path(std::string(200, 'x'))));

    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    EXPECT_TRUE(probe.waylandReachable(socketPath));
    ::close(listener);
    // The file stays behind a dead compositor; nobody answers on it.
    EXPECT_FALSE(probe.waylandReachable(socketPath));
}

TEST(SystemDisplayProbeTest, DisplayWithoutServerIsUnreachable) {
    SystemDisplayProbe probe;
    EXPECT_FALSE(probe.x11Reachable(":987"));
    EXPECT_FALSE(probe.x11Reachable("garbage"));
}

}  // namespace
}  // namespace rizorivu::qt
