#include "platform/DisplayChoice.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace rizorivu {
namespace {

// A machine whose X servers and Wayland sockets are listed.
class ListedDisplays final : public DisplayProbe {
public:
    std::set<std::string, std::less<>> x11;
    std::set<std::string> wayland;
    bool plugin = true;

    bool x11Reachable(std::string_view display) const override { return x11.contains(display); }
    bool waylandReachable(const std::filesystem::path& socket) const override {
        return wayland.contains(socket.string());
    }
    bool waylandPluginInstalled() const override { return plugin; }
};

struct DisplayCase {
    const char* what;
    std::vector<std::pair<const std::string, std::string>> variables;
    std::vector<std::string> arguments;
    bool plugin;
    bool available;
    std::string platform;
};

TEST(DisplayChoiceTest, OnlyADisplayThatAnswersIsUsed) {
    ListedDisplays probe;
    probe.x11 = {":0"};
    probe.wayland = {"/run/user/1000/wayland-0", "/tmp/compositor"};
    const std::vector<DisplayCase> cases{
        {"nothing named", {}, {}, true, false, ""},
        {"empty names", {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, {}, true, false, ""},
        {"X11 answers", {{"DISPLAY", ":0"}}, {}, true, true, "xcb"},
        {"X11 named, no server", {{"DISPLAY", ":99"}}, {}, true, false, ""},
        {"Wayland answers",
         {{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}},
         {},
         true,
         true,
         "wayland"},
        {"Wayland without its plugin",
         {{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}},
         {},
         false,
         false,
         ""},
        {"Wayland named, no runtime folder",
         {{"WAYLAND_DISPLAY", "wayland-0"}},
         {},
         true,
         false,
         ""},
        {"Wayland, relative runtime folder",
         {{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", "run/user/1000"}},
         {},
         true,
         false,
         ""},
        {"Wayland socket by path",
         {{"WAYLAND_DISPLAY", "/tmp/compositor"}},
         {},
         true,
         true,
         "wayland"},
        {"Wayland socket gone", {{"WAYLAND_DISPLAY", "/tmp/gone"}}, {}, true, false, ""},
        {"both, X11 session prefers X11",
         {{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "/tmp/compositor"}},
         {},
         true,
         true,
         "xcb"},
        {"both, Wayland session prefers Wayland",
         {{"DISPLAY", ":0"},
          {"WAYLAND_DISPLAY", "/tmp/compositor"},
          {"XDG_SESSION_TYPE", "wayland"}},
         {},
         true,
         true,
         "wayland"},
        {"Wayland session without the plugin falls back to X11",
         {{"DISPLAY", ":0"},
          {"WAYLAND_DISPLAY", "/tmp/compositor"},
          {"XDG_SESSION_TYPE", "wayland"}},
         {},
         false,
         true,
         "xcb"},
        {"dead X11, live Wayland",
         {{"DISPLAY", ":99"}, {"WAYLAND_DISPLAY", "/tmp/compositor"}},
         {},
         true,
         true,
         "wayland"},
        {"offscreen requested", {{"QT_QPA_PLATFORM", "offscreen"}}, {}, true, true, ""},
        {"xcb requested, no server",
         {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":99"}},
         {},
         true,
         false,
         ""},
        {"xcb with options requested",
         {{"QT_QPA_PLATFORM", "xcb:nograb"}, {"DISPLAY", ":0"}},
         {},
         true,
         true,
         ""},
        {"wayland requested, default socket name",
         {{"QT_QPA_PLATFORM", "wayland"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}},
         {},
         true,
         true,
         ""},
        {"wayland requested, no plugin",
         {{"QT_QPA_PLATFORM", "wayland"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}},
         {},
         false,
         false,
         ""},
        {"list falls through to a live entry",
         {{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":0"}},
         {},
         true,
         true,
         ""},
        {"list with no live entry", {{"QT_QPA_PLATFORM", "wayland;xcb;"}}, {}, true, false, ""},
        {"platform argument", {}, {"-platform", "offscreen"}, true, true, ""},
        {"platform argument with value", {}, {"--platform=vnc"}, true, true, ""},
        {"the exit switch is no platform", {}, {"EXIT"}, true, false, ""},
    };
    for (const DisplayCase& c : cases) {
        FixedEnvironment environment;
        for (const auto& [name, value] : c.variables) {
            environment.set(name, value);
        }
        probe.plugin = c.plugin;
        const DisplayChoice choice = DisplayChoice::decide(environment, c.arguments, probe);
        EXPECT_EQ(choice.available, c.available) << c.what;
        EXPECT_EQ(choice.platform, c.platform) << c.what;
    }
}

}  // namespace
}  // namespace rizorivu
