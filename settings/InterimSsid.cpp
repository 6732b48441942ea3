#include "settings/InterimSsid.h"

namespace rizorivu {

std::array<std::uint8_t, 32> interimSsid(std::int64_t wallSeconds) {
    std::uint32_t state = static_cast<std::uint32_t>(wallSeconds);
    std::array<std::uint8_t, 32> bytes{};
    for (auto& byte : bytes) {
        state = state * 214013u + 2531011u;
        const std::uint32_t draw = (state >> 16) & 0x7FFFu;
        byte = static_cast<std::uint8_t>(draw & 0xFFu);
    }
    return bytes;
}

}  // namespace rizorivu
