#pragma once

#include <span>
#include <string>
#include <string_view>

namespace rizorivu {

// What the command line asks for. The utility's own switch is EXIT: "/" or "-" followed by
// "exit" in any letter case. "--help" ("-h") and "--version" ("-V") print and end before
// anything else is touched; every other parameter is ignored.
struct CommandLine {
    bool exitRequested = false;
    bool helpRequested = false;
    bool versionRequested = false;

    // `arguments` without the program name.
    static CommandLine parse(std::span<const std::string> arguments);

    // Whether the process only prints and ends: no registry, adapter or display is needed.
    bool printsOnly() const { return helpRequested || versionRequested; }
    // What "--help" or "--version" print (help wins when both are given), with a final newline.
    std::string printedText(std::string_view version) const;
};

}  // namespace rizorivu
