#include "wpa/RunFlag.h"

#include <algorithm>

namespace rizorivu::wpa {

bool RunFlag::sleepWhileSet(Clock& clock, std::int64_t ms) const {
    std::int64_t left = ms;
    while (left > 0 && isSet()) {
        const std::int64_t slice = std::min(left, kSliceMs);
        clock.sleepMs(slice);
        left -= slice;
    }
    return isSet();
}

}  // namespace rizorivu::wpa
