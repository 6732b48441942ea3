#pragma once

#include <filesystem>

#include "platform/Environment.h"

namespace rizorivu {

// The per-user folders of the XDG base directory rules that the utility keeps files in.
// Relative values of the variables are invalid by those rules and ignored.
struct UserFolders {
    std::filesystem::path dataHome;    // $XDG_DATA_HOME, else ~/.local/share
    std::filesystem::path runtimeDir;  // $XDG_RUNTIME_DIR, empty when unset

    static UserFolders fromEnvironment(const Environment& env);

    // Where the user puts client and CA certificates.
    std::filesystem::path certificateStore() const;
    // A folder only the user may enter, for files that hold secrets while a connection runs:
    // the runtime folder lives in memory and goes at log-out, so it is preferred.
    std::filesystem::path privateFolder() const;
};

}  // namespace rizorivu
