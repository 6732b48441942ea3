#include "wpa/KeyWipe.h"

namespace rizorivu::wpa {

void wipeKey(std::span<std::uint8_t> bytes) {
    volatile std::uint8_t* p = bytes.data();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        p[i] = 0;
    }
}

}  // namespace rizorivu::wpa
