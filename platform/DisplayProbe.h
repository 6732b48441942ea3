#pragma once

#include <filesystem>
#include <string_view>

namespace rizorivu {

// What the window system offers, asked before the toolkit starts: a display that is named but
// cannot be reached would otherwise abort the toolkit.
class DisplayProbe {
public:
    virtual ~DisplayProbe() = default;
    // Whether an X server answers on `display` (a DISPLAY value) and lets this user in.
    virtual bool x11Reachable(std::string_view display) const = 0;
    // Whether a compositor listens on the Wayland socket at `socket`.
    virtual bool waylandReachable(const std::filesystem::path& socket) const = 0;
    // Whether the toolkit can talk Wayland at all (its platform plugin is installed).
    virtual bool waylandPluginInstalled() const = 0;
};

}  // namespace rizorivu
