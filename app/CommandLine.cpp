#include "app/CommandLine.h"

namespace rizorivu {

namespace {

constexpr std::string_view kUsage =
    "Usage: rizorivu [-exit]\n"
    "Configuration and monitoring utility of the Nimbo K-540 USB wireless adapter.\n"
    "It starts in the notification area, or shows its window when the desktop has none;\n"
    "a second start opens the window of the one already running.\n"
    "\n"
    "  -exit, /exit   end the running instance (needs no display)\n"
    "  -h, --help     print this text and exit\n"
    "  -V, --version  print the version and exit\n"
    "\n"
    "Environment: RIZORIVU_WORLD (the simulated adapter's world file), RIZORIVU_REGISTRY_DIR\n"
    "(the settings folder, else $XDG_CONFIG_HOME/rizorivu), RIZORIVU_ANSI_CODEPAGE,\n"
    "QT_QPA_PLATFORM (offscreen runs without a display).\n";

bool isExitSwitch(std::string_view argument) {
    if (argument.empty() || (argument.front() != '/' && argument.front() != '-')) {
        return false;
    }
    constexpr std::string_view kExit = "EXIT";
    const std::string_view rest = argument.substr(1);
    if (rest.size() != kExit.size()) {
        return false;
    }
    // The switch is plain ASCII, so ASCII upper-casing decides.
    for (std::size_t i = 0; i < rest.size(); ++i) {
        char c = rest[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != kExit[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

CommandLine CommandLine::parse(std::span<const std::string> arguments) {
    CommandLine line;
    for (const std::string& argument : arguments) {
        if (isExitSwitch(argument)) {
            line.exitRequested = true;
        } else if (argument == "--help" || argument == "-h") {
            line.helpRequested = true;
        } else if (argument == "--version" || argument == "-V") {
            line.versionRequested = true;
        }
    }
    return line;
}

std::string CommandLine::printedText(std::string_view version) const {
    if (helpRequested) {
        return std::string(kUsage);
    }
    if (versionRequested) {
        return "rizorivu " + std::string(version) + "\n";
    }
    return {};
}

}  // namespace rizorivu
