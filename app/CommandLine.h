#pragma once

#include <span>
#include <string>

namespace rizorivu {

// What the command line asks for. The only switch is EXIT: "/" or "-" followed by "exit" in
// any letter case; every other parameter is ignored.
struct CommandLine {
    bool exitRequested = false;

    // `arguments` without the program name.
    static CommandLine parse(std::span<const std::string> arguments);
};

}  // namespace rizorivu
