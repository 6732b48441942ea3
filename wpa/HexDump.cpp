#include "wpa/HexDump.h"

#include <array>
#include <cstdio>

namespace rizorivu::wpa {

std::string dumpHex(std::span<const std::uint8_t> bytes) {
    std::string text = "\n";
    text.reserve(1 + bytes.size() * 3 + bytes.size() / 16 + 1);
    std::size_t count = 0;
    for (const std::uint8_t byte : bytes) {
        std::array<char, 8> piece{};
        std::snprintf(piece.data(), piece.size(), "%2x ", static_cast<unsigned>(byte));
        text += piece.data();
        if (++count % 16 == 0) {
            text += '\n';
        }
    }
    text += '\n';
    return text;
}

}  // namespace rizorivu::wpa
