#include "platform/UserFolders.h"

#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace rizorivu {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> absoluteVariable(const Environment& env, std::string_view name) {
    if (const auto value = env.get(name); value && !value->empty() && value->front() == '/') {
        return fs::path(*value);
    }
    return std::nullopt;
}

fs::path homeFolder(const Environment& env) {
    if (const auto value = env.get("HOME"); value && !value->empty()) {
        return *value;
    }
    // No HOME (a stripped service environment): the password database still knows it.
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

}  // namespace

UserFolders UserFolders::fromEnvironment(const Environment& env) {
    UserFolders folders;
    folders.dataHome =
        absoluteVariable(env, "XDG_DATA_HOME").value_or(homeFolder(env) / ".local" / "share");
    folders.runtimeDir = absoluteVariable(env, "XDG_RUNTIME_DIR").value_or(fs::path());
    return folders;
}

fs::path UserFolders::certificateStore() const {
    return dataHome / "rizorivu" / "certificates";
}

fs::path UserFolders::privateFolder() const {
    if (!runtimeDir.empty()) {
        return runtimeDir / "rizorivu";
    }
    return dataHome / "rizorivu" / "private";
}

}  // namespace rizorivu
