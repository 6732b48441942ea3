#include "tests/support/CommaDecimalLocale.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace rizorivu::testing {

CommaDecimalLocale::CommaDecimalLocale() {
    for (const char* candidate : {"de_DE.UTF-8", "fr_FR.UTF-8"}) {
        try {
            // A named locale made global sets the C library's locale as well.
            previous_ = std::locale::global(std::locale(candidate));
        } catch (const std::runtime_error&) {
            continue;
        }
        std::array<char, 8> probe{};
        std::snprintf(probe.data(), probe.size(), "%.1f", 0.5);
        if (probe[1] == ',') {
            name_ = candidate;
            return;
        }
        std::locale::global(previous_);
    }
}

CommaDecimalLocale::~CommaDecimalLocale() {
    if (active()) {
        std::locale::global(previous_);
    }
}

}  // namespace rizorivu::testing
