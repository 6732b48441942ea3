#include "platform/HiveLocations.h"

#include <pwd.h>
#include <unistd.h>
#include <vector>

#include "platform/Unicode.h"

namespace rizorivu {

namespace fs = std::filesystem;

HiveLocations HiveLocations::inDirectory(const fs::path& dir) {
    return HiveLocations{dir / "HKEY_CURRENT_USER.hive", dir / "HKEY_LOCAL_MACHINE.hive"};
}

HiveLocations HiveLocations::fromEnvironment(const Environment& env) {
    if (const auto dir = env.get(kEnvironmentVariable); dir && !trimBlanks(*dir).empty()) {
        return inDirectory(*dir);
    }
    // The XDG base directory rules: a relative XDG_CONFIG_HOME is invalid and ignored.
    if (const auto config = env.get("XDG_CONFIG_HOME");
        config && !config->empty() && config->front() == '/') {
        return inDirectory(fs::path(*config) / "rizorivu");
    }
    fs::path home;
    if (const auto value = env.get("HOME"); value && !value->empty()) {
        home = *value;
    } else {
        // No HOME (a stripped service environment): the password database still knows it.
        passwd entry{};
        passwd* found = nullptr;
        std::vector<char> buffer(16384);
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr && found->pw_dir != nullptr) {
            home = found->pw_dir;
        }
    }
    return inDirectory(home / ".config" / "rizorivu");
}

}  // namespace rizorivu
