#pragma once

namespace rizorivu {

// SetWL_PreambleMode.
enum class PreambleMode : int {
    Long = 0,
    Short = 1,
    Auto = 2,  // long and short, as a station always uses
};

}  // namespace rizorivu
