#include "qt/DisplayCheck.h"

#include <algorithm>

namespace rizorivu::qt {

namespace {

bool set(const Environment& environment, std::string_view name) {
    const auto value = environment.get(name);
    return value.has_value() && !value->empty();
}

}  // namespace

bool displayAvailable(const Environment& environment, std::span<const std::string> arguments) {
    const bool platformArgument =
        std::any_of(arguments.begin(), arguments.end(), [](const std::string& argument) {
            return argument == "-platform" || argument == "--platform" ||
                   argument.starts_with("-platform=") || argument.starts_with("--platform=");
        });
    return platformArgument || set(environment, "QT_QPA_PLATFORM") ||
           set(environment, "WAYLAND_DISPLAY") || set(environment, "DISPLAY");
}

}  // namespace rizorivu::qt
