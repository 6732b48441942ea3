#include "platform/ApplicationPaths.h"

#include <unistd.h>

#include <vector>

namespace rizorivu {

ApplicationPaths ApplicationPaths::fromModulePath(std::string_view modulePath) {
    ApplicationPaths paths;
    paths.modulePath = std::string(modulePath);
    const auto slash = modulePath.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    paths.programDir = std::string(modulePath.substr(0, nameStart));
    const std::string_view fileName = modulePath.substr(nameStart);
    // A leading dot names a hidden file, not an extension.
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        paths.pathStem = paths.modulePath + ".";
        paths.applicationName = std::string(fileName);
    } else {
        paths.pathStem = std::string(modulePath.substr(0, nameStart + dot + 1));
        paths.applicationName = std::string(fileName.substr(0, dot));
    }
    return paths;
}

std::optional<std::string> readModulePath() {
    std::vector<char> buffer(4096);
    while (buffer.size() <= (1u << 20)) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(n) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::nullopt;
}

}  // namespace rizorivu
