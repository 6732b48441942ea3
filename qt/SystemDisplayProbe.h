#pragma once

#include "platform/DisplayProbe.h"

namespace rizorivu::qt {

// The display probe on this machine: an X connection through xcb, a connect() to the Wayland
// socket, and Qt's plugin folder for the Wayland platform plugin. Needs no QApplication.
class SystemDisplayProbe final : public DisplayProbe {
public:
    bool x11Reachable(std::string_view display) const override;
    bool waylandReachable(const std::filesystem::path& socket) const override;
    bool waylandPluginInstalled() const override;
};

}  // namespace rizorivu::qt
