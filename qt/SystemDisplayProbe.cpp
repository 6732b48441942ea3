#include "qt/SystemDisplayProbe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QLibraryInfo>
#include <cerrno>
#include <cstring>
#include <string>

namespace rizorivu::qt {

bool SystemDisplayProbe::x11Reachable(std::string_view display) const {
    // xcb also checks the authorisation, which is where Qt's own connection would fail.
    const std::string name(display);
    xcb_connection_t* connection = xcb_connect(name.c_str(), nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

bool SystemDisplayProbe::waylandReachable(const std::filesystem::path& socket) const {
    const std::string path = socket.string();
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    int result = 0;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (result < 0 && errno == EINTR);
    ::close(fd);
    return result == 0;
}

bool SystemDisplayProbe::waylandPluginInstalled() const {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms");
    return !platforms.entryList({"libqwayland-*.so"}, QDir::Files).isEmpty();
}

}  // namespace rizorivu::qt
