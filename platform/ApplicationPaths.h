#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rizorivu {

// Where the running executable lives, and the names derived from it.
struct ApplicationPaths {
    std::string modulePath;       // full path of the executable
    std::string programDir;       // modulePath up to and including its last '/'
    std::string pathStem;         // modulePath up to and including the '.' before its
                                  // extension; a name without one gets a '.' appended, so
                                  // "rizorivu" reads "rizorivu.INI" beside it
    std::string applicationName;  // the executable's file name without its extension

    static ApplicationPaths fromModulePath(std::string_view modulePath);
};

// The path of the running executable (/proc/self/exe), or nothing when it cannot be read.
std::optional<std::string> readModulePath();

}  // namespace rizorivu
