#pragma once

#include <filesystem>

#include "platform/Environment.h"

namespace rizorivu {

// Where the hive files live. RIZORIVU_REGISTRY_DIR moves both into one folder (tests and
// demos use it); otherwise both live under $XDG_CONFIG_HOME/rizorivu (~/.config/rizorivu).
// The machine hive sits beside the user's because the only writer of machine-wide keys is
// the simulated adapter's driver installer, which runs inside the user's own process.
struct HiveLocations {
    static constexpr const char* kEnvironmentVariable = "RIZORIVU_REGISTRY_DIR";

    std::filesystem::path currentUser;
    std::filesystem::path localMachine;

    static HiveLocations inDirectory(const std::filesystem::path& dir);
    static HiveLocations fromEnvironment(const Environment& env);
};

}  // namespace rizorivu
