#include "platform/Environment.h"

#include <cstdlib>

namespace rizorivu {

std::optional<std::string> ProcessEnvironment::get(std::string_view name) const {
    const std::string key(name);
    if (const char* value = std::getenv(key.c_str())) {
        return std::string(value);
    }
    return std::nullopt;
}

std::optional<std::string> FixedEnvironment::get(std::string_view name) const {
    if (auto it = vars_.find(name); it != vars_.end()) {
        return it->second;
    }
    return std::nullopt;
}

}  // namespace rizorivu
