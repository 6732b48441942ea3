#include "app/CommandLine.h"

#include <string_view>

namespace rizorivu {

namespace {

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
        }
    }
    return line;
}

}  // namespace rizorivu
