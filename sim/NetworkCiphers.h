#pragma once

#include <cstddef>

#include "adapter/KeyNegotiationContext.h"
#include "sim/World.h"

namespace rizorivu::sim {

// A WPA network's ciphers as ciphercode values, and the length of their keys.
int pairwiseCipherCode(const WorldNetwork& network);
int groupCipherCode(const WorldNetwork& network);

}  // namespace rizorivu::sim
