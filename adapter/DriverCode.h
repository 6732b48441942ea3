#pragma once

#include <type_traits>

namespace rizorivu {

// The adapter library passes its codes as plain ints (the driver's interface); the enums of
// adapter/ hold the same numbers, so a code crosses that boundary by a cast both ways.
template <typename Code>
requires std::is_enum_v<Code>
constexpr int toDriver(Code code) {
    return static_cast<int>(code);
}

template <typename Code>
requires std::is_enum_v<Code>
constexpr Code fromDriver(int value) {
    return static_cast<Code>(value);
}

}  // namespace rizorivu
