#pragma once

namespace rizorivu {

// The length code of SetWL_WriteKey: 64-, 128- and 256-bit keys of 5, 13 and 29 key bytes
// (the rest of the bits are the initialisation vector).
enum class WepKeyLength : int {
    Bits64 = 0,
    Bits128 = 1,
    Bits256 = 2,
};

}  // namespace rizorivu
