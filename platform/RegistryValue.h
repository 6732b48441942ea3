#pragma once

#include <cstdint>
#include <string>

namespace rizorivu {

// A registry value: a string or a 32-bit integer (REG_SZ / REG_DWORD).
struct RegistryValue {
    enum class Type { String, Dword };
    Type type = Type::String;
    std::string text;         // Type::String, UTF-8
    std::uint32_t dword = 0;  // Type::Dword

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

}  // namespace rizorivu
