#pragma once

#include <cstddef>

#include "sim/World.h"

namespace rizorivu::sim {

// A WPA network's ciphers as ciphercode values, and the length of their keys.
int pairwiseCipherCode(const WorldNetwork& network);
int groupCipherCode(const WorldNetwork& network);
// 32 for TKIP (with its MIC keys), 16 for CCMP, 13 and 5 for WEP; 0 for anything else.
std::size_t cipherKeyBytes(int cipherCode);

}  // namespace rizorivu::sim
