#include "platform/DisplayChoice.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace rizorivu {

namespace {

std::optional<std::string> nonEmpty(const Environment& environment, std::string_view name) {
    auto value = environment.get(name);
    if (value && value->empty()) {
        value.reset();
    }
    return value;
}

bool x11Usable(const Environment& environment, const DisplayProbe& probe) {
    const auto display = nonEmpty(environment, "DISPLAY");
    return display && probe.x11Reachable(*display);
}

// The Wayland client library's rules: WAYLAND_SOCKET hands over a connected descriptor;
// WAYLAND_DISPLAY is a socket path, or a name in XDG_RUNTIME_DIR ("wayland-0" when unset).
bool waylandUsable(const Environment& environment, const DisplayProbe& probe, bool nameRequired) {
    if (!probe.waylandPluginInstalled()) {
        return false;
    }
    if (nonEmpty(environment, "WAYLAND_SOCKET")) {
        return true;
    }
    const auto name = nonEmpty(environment, "WAYLAND_DISPLAY");
    if (!name && nameRequired) {
        return false;
    }
    const std::filesystem::path socket(name.value_or("wayland-0"));
    if (socket.is_absolute()) {
        return probe.waylandReachable(socket);
    }
    const auto runtime = nonEmpty(environment, "XDG_RUNTIME_DIR");
    // A relative runtime folder is invalid by the XDG rules.
    if (!runtime || runtime->front() != '/') {
        return false;
    }
    return probe.waylandReachable(std::filesystem::path(*runtime) / socket);
}

bool entryUsable(std::string_view entry, const Environment& environment,
                 const DisplayProbe& probe) {
    // Options follow the name after a ':' ("xcb:nograb").
    const std::string_view name = entry.substr(0, entry.find(':'));
    if (name == "xcb") {
        return x11Usable(environment, probe);
    }
    if (name.starts_with("wayland")) {
        return waylandUsable(environment, probe, false);
    }
    return !name.empty();
}

}  // namespace

DisplayChoice DisplayChoice::decide(const Environment& environment,
                                    std::span<const std::string> arguments,
                                    const DisplayProbe& probe) {
    const bool platformArgument =
        std::any_of(arguments.begin(), arguments.end(), [](const std::string& argument) {
            return argument == "-platform" || argument == "--platform" ||
                   argument.starts_with("-platform=") || argument.starts_with("--platform=");
        });
    if (platformArgument) {
        return {true, {}};
    }
    if (const auto requested = nonEmpty(environment, "QT_QPA_PLATFORM")) {
        std::string_view rest = *requested;
        while (!rest.empty()) {
            const auto end = std::min(rest.find(';'), rest.size());
            if (entryUsable(rest.substr(0, end), environment, probe)) {
                return {true, {}};
            }
            rest.remove_prefix(std::min(end + 1, rest.size()));
        }
        return {};
    }
    const bool waylandNamed = nonEmpty(environment, "WAYLAND_DISPLAY").has_value() ||
                              nonEmpty(environment, "WAYLAND_SOCKET").has_value();
    const bool waylandSession = environment.get("XDG_SESSION_TYPE") == "wayland";
    if (waylandNamed && waylandSession && waylandUsable(environment, probe, true)) {
        return {true, "wayland"};
    }
    if (x11Usable(environment, probe)) {
        return {true, "xcb"};
    }
    if (waylandNamed && waylandUsable(environment, probe, true)) {
        return {true, "wayland"};
    }
    return {};
}

}  // namespace rizorivu
