#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace rizorivu::testing {

// Bytes from hexadecimal text as published vectors print them; spaces are ignored.
inline std::vector<std::uint8_t> hexBytes(std::string_view text) {
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        throw std::invalid_argument("not hexadecimal");
    };
    std::vector<std::uint8_t> out;
    int high = -1;
    for (char c : text) {
        if (c == ' ')
            continue;
        const int value = nibble(c);
        if (high < 0) {
            high = value;
        } else {
            out.push_back(static_cast<std::uint8_t>(high << 4 | value));
            high = -1;
        }
    }
    return out;
}

inline std::vector<std::uint8_t> textBytes(std::string_view text) {
    return {text.begin(), text.end()};
}

}  // namespace rizorivu::testing
